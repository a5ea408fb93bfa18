#pragma once

#include "app/EuroProgramme.h"
#include "forms/main/FrmQuilmar.h"
#include "tests/support/Seams.h"
#include "toolkit/Form.h"
#include "toolkit/FormWindow.h"
#include "toolkit/MemoryClipboard.h"
#include "toolkit/Twips.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

// A fresh run of the program for each test: its own working directory, the settings record at
// its zero value, no form, a fake clipboard and a message box answered at once instead of
// blocking.
class ProgramFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_previousDir = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(m_dir.path()));
        toolkit::Twips::overrideDpi(96);
        EuroProgramme::Settings = SettingsRecord();
        EuroProgramme::ProgramDir.clear();
    }

    void TearDown() override
    {
        toolkit::Form::destroyAll();
        toolkit::Twips::overrideDpi(0);
        QDir::setCurrent(m_previousDir);
    }

    QString path(const QString& name) const { return m_dir.filePath(name); }

    void writeFile(const QString& name, const QByteArray& bytes) const
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    QByteArray readFile(const QString& name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    toolkit::MemoryClipboard clipboard;

private:
    ClipboardFake m_clipboardFake { clipboard };
    MessageBoxAnswerer m_answerer { [](const auto&) {} };
    QTemporaryDir m_dir;
    QString m_previousDir;
};

// The program started on its default settings, its main window active.
class StartedProgramFixture : public ProgramFixture {
protected:
    void SetUp() override
    {
        ProgramFixture::SetUp();
        EuroProgramme::StartUp();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frmQuilmar->window()));
    }
};
