#pragma once

#include "toolkit/Clipboard.h"
#include "toolkit/MessageBox.h"

#include <functional>
#include <string>
#include <utility>

// Each guard puts a fake in a toolkit seam for its scope and the real one back after it, so that
// a failing assertion cannot leave a later test on a fake.
class ClipboardFake {
public:
    explicit ClipboardFake(toolkit::Clipboard& fake) { toolkit::Clipboard::install(&fake); }
    ~ClipboardFake() { toolkit::Clipboard::install(nullptr); }
    ClipboardFake(const ClipboardFake&) = delete;
    ClipboardFake& operator=(const ClipboardFake&) = delete;
};

class MessageBoxAnswerer {
public:
    explicit MessageBoxAnswerer(std::function<void(const toolkit::MessageBox::Request&)> answerer)
    {
        toolkit::MessageBox::setAnswerer(std::move(answerer));
    }
    ~MessageBoxAnswerer() { toolkit::MessageBox::setAnswerer({}); }
    MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
    MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;
};

// The C library's and Qt's locale set to `name` for the scope, when the system has it: a test
// skips rather than passes untried where installed() is false.
class LocaleSet {
public:
    explicit LocaleSet(const char* name);
    ~LocaleSet();
    bool installed() const { return m_installed; }
    LocaleSet(const LocaleSet&) = delete;
    LocaleSet& operator=(const LocaleSet&) = delete;

private:
    std::string m_previous;
    bool m_installed;
};
