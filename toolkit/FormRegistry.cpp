#include "toolkit/FormRegistry.h"

#include "toolkit/Form.h"
#include "toolkit/FormWindow.h"
#include "toolkit/Twips.h"

#include <QCoreApplication>
#include <QIcon>
#include <QTimer>
#include <algorithm>
#include <map>
#include <optional>

namespace toolkit {

namespace {
    std::vector<Form*>& liveForms()
    {
        static std::vector<Form*> forms;
        return forms;
    }

    std::vector<std::unique_ptr<Form>>& unloadedForms()
    {
        static std::vector<std::unique_ptr<Form>> forms;
        return forms;
    }

    bool g_programEnded = false;

    // The frame of the last window the window manager framed: other windows get the same.
    std::optional<QMargins> g_learnedFrame;

    // One icon per picture for the run: each form made afresh with an icon of its own would have
    // it drawn again into new entries of Qt's pixmap cache, which grows up to its limit.
    std::map<qint64, QIcon>& icons()
    {
        static std::map<qint64, QIcon> made;
        return made;
    }
}

void FormRegistry::add(Form* form) { liveForms().push_back(form); }

void FormRegistry::remove(Form* form)
{
    auto& forms = liveForms();
    forms.erase(std::remove(forms.begin(), forms.end(), form), forms.end());
}

bool FormRegistry::isLive(const Form* form)
{
    const auto& forms = liveForms();
    return std::find(forms.begin(), forms.end(), form) != forms.end();
}

const std::vector<Form*>& FormRegistry::live() { return liveForms(); }

void FormRegistry::retire(std::unique_ptr<Form> form)
{
    form->m_window->hide();
    form->m_window->detach();
    form->m_release = nullptr;
    remove(form.get());
    unloadedForms().push_back(std::move(form));
    if (auto* app = QCoreApplication::instance())
        QTimer::singleShot(0, app, &FormRegistry::deleteUnloaded);
}

void FormRegistry::deleteUnloaded()
{
    auto forms = std::move(unloadedForms());
    unloadedForms().clear();
    forms.clear();
}

void FormRegistry::closeAll()
{
    const std::vector<Form*> forms = live();
    for (Form* form : forms) {
        if (g_programEnded)
            break;
        if (isLive(form))
            form->unload();
    }
}

void FormRegistry::endProgram()
{
    g_programEnded = true;
    for (Form* form : live())
        form->m_window->hide();
    QCoreApplication::exit(0);
}

void FormRegistry::destroyAll()
{
    const std::vector<Form*> forms = live();
    for (Form* form : forms) {
        if (!isLive(form))
            continue;
        if (form->m_release)
            form->m_release();
        else
            delete form;
    }
    deleteUnloaded();
    icons().clear(); // before the application object goes
    g_programEnded = false;
    g_learnedFrame.reset();
}

void FormRegistry::learnFrame(QMargins frame) { g_learnedFrame = frame; }

QMargins FormRegistry::assumedFrame()
{
    if (g_learnedFrame)
        return *g_learnedFrame;
    const int side = Twips::toPixels(Form::AssumedFrameSide);
    return { side, Twips::toPixels(Form::AssumedFrameTop), side, side };
}

const QIcon& FormRegistry::icon(const Picture& picture)
{
    auto found = icons().find(picture.cacheKey());
    if (found == icons().end())
        found = icons().emplace(picture.cacheKey(), picture.icon()).first;
    return found->second;
}

bool FormRegistry::programEnded() { return g_programEnded; }

} // namespace toolkit
