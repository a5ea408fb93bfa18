#include "toolkit/Form.h"

#include "toolkit/CommandButton.h"
#include "toolkit/Control.h"
#include "toolkit/FormWindow.h"
#include "toolkit/Twips.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QPushButton>
#include <QShortcut>
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

    bool isLive(const Form* form)
    {
        const auto& forms = liveForms();
        return std::find(forms.begin(), forms.end(), form) != forms.end();
    }

    // The frame of the last window the window manager framed: other windows get the same.
    std::optional<QMargins> g_learnedFrame;

    // A Wayland client neither places its windows nor learns where they are, and must take
    // exactly the size that the compositor gives a maximised window.
    bool onWayland() { return QGuiApplication::platformName().startsWith(u"wayland"); }

    constexpr Qt::WindowStates Enlarged = Qt::WindowMaximized | Qt::WindowFullScreen;

    // How long a restore may wait for the window manager to show the normal geometry again.
    constexpr int RestoreWaitMs = 1000;

    QMargins assumedFrame()
    {
        if (g_learnedFrame)
            return *g_learnedFrame;
        const int side = Twips::toPixels(Form::AssumedFrameSide);
        return { side, Twips::toPixels(Form::AssumedFrameTop), side, side };
    }

    // One icon per picture for the run: each form made afresh with an icon of its own would have
    // it drawn again into new entries of Qt's pixmap cache, which grows up to its limit.
    std::map<qint64, QIcon>& icons()
    {
        static std::map<qint64, QIcon> made;
        return made;
    }

    const QIcon& icon(const Picture& picture)
    {
        auto found = icons().find(picture.cacheKey());
        if (found == icons().end())
            found = icons().emplace(picture.cacheKey(), picture.icon()).first;
        return found->second;
    }
}

Form::Form(const FormDesign& design)
    : m_window(new FormWindow(*this))
    , m_maximisable(design.border == FormDesign::Border::Sizable && design.maxButton)
{
    liveForms().push_back(this);
    m_window->setWindowTitle(design.caption);
    if (!design.icon.isNull())
        m_window->setWindowIcon(icon(design.icon));

    Qt::WindowFlags flags = Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowCloseButtonHint;
    if (design.border == FormDesign::Border::FixedDialog) {
        flags |= Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint;
    } else {
        flags |= Qt::Window;
        if (design.minButton)
            flags |= Qt::WindowMinimizeButtonHint;
        if (design.maxButton)
            flags |= Qt::WindowMaximizeButtonHint;
    }
    m_window->setWindowFlags(flags);

    const QMargins frame = assumedFrame();
    const float left = Twips::fromPixels(frame.left());
    const float top = Twips::fromPixels(frame.top());
    m_outer = { design.clientLeft - left, design.clientTop - top,
        design.clientWidth + Twips::fromPixels(frame.left() + frame.right()),
        design.clientHeight + Twips::fromPixels(frame.top() + frame.bottom()) };
    if (design.border == FormDesign::Border::FixedDialog) {
        m_fixedSize = { Twips::toPixels(design.clientWidth), Twips::toPixels(design.clientHeight) };
        // A compositor's maximised size must be taken exactly: under Wayland the dialog keeps
        // its size itself, once it is back to normal.
        if (!onWayland())
            m_window->setFixedSize(m_fixedSize);
    }
    applyPosition();
    applySize();
}

Form::~Form()
{
    m_window->detach();
    auto& forms = liveForms();
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
    delete m_window;
}

QWidget* Form::clientWidget() const { return m_window->client(); }

QString Form::caption() const { return m_window->windowTitle(); }

bool Form::isVisible() const { return m_window->isVisible(); }

// --- Geometry ---------------------------------------------------------------------------------

std::optional<QMargins> Form::realFrame() const
{
    if (!m_window->isVisible())
        return std::nullopt;
    const QRect outer = m_window->frameGeometry();
    const QRect inner = m_window->geometry();
    if (outer == inner)
        return std::nullopt;
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
        outer.right() - inner.right(), outer.bottom() - inner.bottom());
}

QMargins Form::frame() const
{
    const std::optional<QMargins> real = realFrame();
    return real ? *real : assumedFrame();
}

QMargins Form::nonClient() const
{
    QMargins margins = frame();
    margins.setTop(margins.top() + m_window->menuBarHeight());
    return margins;
}

void Form::menuBarAdded()
{
    // The designed client area lies below the menu bar: the window grows by the bar.
    const float bar = Twips::fromPixels(m_window->menuBarHeight());
    m_outer.top -= bar;
    m_outer.height += bar;
    applyPosition();
    applySize();
}

bool Form::enlarged() const { return (m_window->windowState() & Enlarged) != 0; }

void Form::applyPosition()
{
    if (enlarged() || m_holding)
        return; // kept for the restore
    const QPoint px(Twips::toPixels(m_outer.left), Twips::toPixels(m_outer.top));
    m_appliedPx.moveTopLeft(px);
    m_window->move(px); // a top-level window's position is that of its frame
}

void Form::applySize()
{
    if (enlarged() || m_holding)
        return; // kept for the restore
    const QMargins margins = frame();
    m_frameApplied = margins;
    const int outerWidth = Twips::toPixels(m_outer.width);
    const int outerHeight = Twips::toPixels(m_outer.height);
    m_appliedPx.setSize({ outerWidth, outerHeight });
    updateSizeLimits();
    m_window->resize(std::max(1, outerWidth - margins.left() - margins.right()),
        std::max(1, outerHeight - margins.top() - margins.bottom()));
    m_window->layoutClient();
}

void Form::adoptFrame() const
{
    if (!m_window->isVisible())
        return;
    const QMargins margins = frame();
    if (margins == m_frameApplied)
        return;
    const std::optional<QMargins> real = realFrame();
    const bool normal = (m_window->windowState() & (Enlarged | Qt::WindowMinimized)) == 0;
    if (real && normal)
        g_learnedFrame = real;
    const QSize applied(m_appliedPx.width() - m_frameApplied.left() - m_frameApplied.right(),
        m_appliedPx.height() - m_frameApplied.top() - m_frameApplied.bottom());
    m_frameApplied = margins;
    updateSizeLimits();
    const bool firstFrame = real && !m_framed;
    if (real)
        m_framed = true;
    // Only the first frame replaces the assumed one. Later changes of the frame (a maximised
    // window loses its borders) come with a size that the window manager chose itself:
    // resizing then would fight it.
    if (!firstFrame || !normal || m_window->size() != applied)
        return; // resized meanwhile: what the window shows now is the truth
    // The window manager has framed the window: keep the outer size the program gave it.
    m_window->resize(std::max(1, m_appliedPx.width() - margins.left() - margins.right()),
        std::max(1, m_appliedPx.height() - margins.top() - margins.bottom()));
    m_window->layoutClient();
}

void Form::syncFromWindow() const
{
    if (!m_window->isVisible() || enlarged() || m_holding)
        return; // the normal geometry stays what the program reads
    adoptFrame();
    const QMargins margins = frame();
    const QRect inner = m_window->geometry();
    const QPoint position = m_window->frameGeometry().topLeft();
    const QSize size(inner.width() + margins.left() + margins.right(),
        inner.height() + margins.top() + margins.bottom());
    // What the window still shows as the program set it keeps the program's twips exactly.
    // Under Wayland a program neither places its windows nor learns where they are: the place
    // it was given stays what it reads, so that it is not lost at the next save.
    const bool placeable = !onWayland();
    if (placeable && position.x() != m_appliedPx.x())
        m_outer.left = Twips::fromPixels(position.x());
    if (placeable && position.y() != m_appliedPx.y())
        m_outer.top = Twips::fromPixels(position.y());
    if (size.width() != m_appliedPx.width())
        m_outer.width = Twips::fromPixels(size.width());
    if (size.height() != m_appliedPx.height())
        m_outer.height = Twips::fromPixels(size.height());
    m_appliedPx = QRect(position, size);
}

float Form::left() const
{
    syncFromWindow();
    return m_outer.left;
}

float Form::top() const
{
    syncFromWindow();
    return m_outer.top;
}

float Form::width() const
{
    syncFromWindow();
    return m_outer.width;
}

float Form::height() const
{
    syncFromWindow();
    return m_outer.height;
}

void Form::setLeft(float twips)
{
    syncFromWindow();
    m_outer.left = twips;
    applyPosition();
}

void Form::setTop(float twips)
{
    syncFromWindow();
    m_outer.top = twips;
    applyPosition();
}

void Form::setWidth(float twips)
{
    syncFromWindow();
    m_outer.width = twips;
    applySize();
    raiseResize(false);
}

void Form::setHeight(float twips)
{
    syncFromWindow();
    m_outer.height = twips;
    applySize();
    raiseResize(false);
}

float Form::scaleWidth() const { return Twips::fromPixels(m_window->client()->width()); }

float Form::scaleHeight() const { return Twips::fromPixels(m_window->client()->height()); }

float Form::nonClientWidth() const
{
    const QMargins margins = nonClient();
    return Twips::fromPixels(margins.left() + margins.right());
}

float Form::nonClientHeight() const
{
    const QMargins margins = nonClient();
    return Twips::fromPixels(margins.top() + margins.bottom());
}

void Form::setUserWidthRange(float minimum, float maximum)
{
    m_minWidth = minimum;
    m_maxWidth = maximum;
    updateSizeLimits();
}

void Form::setUserFixedHeight(float clientHeight)
{
    m_fixedClientHeight = clientHeight;
    updateSizeLimits();
}

void Form::updateSizeLimits() const
{
    // Under Wayland the compositor's maximised size must be taken exactly, within any limits:
    // the forms keep their limits in their Resize handling.
    if (onWayland())
        return;
    const QMargins margins = frame();
    const int sides = margins.left() + margins.right();
    if (m_maxWidth > 0) {
        m_window->setMinimumWidth(std::max(1, Twips::toPixels(m_minWidth) - sides));
        m_window->setMaximumWidth(std::max(1, Twips::toPixels(m_maxWidth) - sides));
    }
    if (m_fixedClientHeight > 0) {
        const int height = Twips::toPixels(m_fixedClientHeight) + m_window->menuBarHeight();
        m_window->setMinimumHeight(height);
        m_window->setMaximumHeight(height);
    }
}

int Form::windowState() const
{
    const Qt::WindowStates state = m_window->windowState();
    if (state & Qt::WindowMinimized)
        return 1;
    if (state & Qt::WindowMaximized)
        return 2;
    return 0;
}

void Form::setWindowState(int state)
{
    Qt::WindowStates flags = m_window->windowState() & ~(Qt::WindowMinimized | Enlarged);
    if (state == 1)
        flags |= Qt::WindowMinimized;
    else if (state == 2)
        flags |= Qt::WindowMaximized;
    if (enlarged() && !(flags & Enlarged) && m_window->isVisible())
        restoreNormal(flags);
    else
        m_window->setWindowState(flags);
    raiseResize(false);
}

void Form::restoreNormal(Qt::WindowStates state)
{
    // The window manager or compositor gives the normal place and size back itself, later, and
    // may first report the enlarged geometry it had already given: the normal geometry is held
    // until the window shows it again. Resizing meanwhile would fight it (and under Wayland, a
    // client must keep the maximised size until the compositor has answered).
    m_holding = true;
    m_window->setWindowState(state);
    QTimer::singleShot(RestoreWaitMs, m_window, [this] {
        if (m_holding) {
            m_holding = false;
            windowGeometryChanged();
        }
    });
}

bool Form::holdSettled() const
{
    const QMargins margins = frame();
    const QRect inner = m_window->geometry();
    const QSize size(inner.width() + margins.left() + margins.right(),
        inner.height() + margins.top() + margins.bottom());
    return size == m_appliedPx.size()
        && (onWayland() || m_window->frameGeometry().topLeft() == m_appliedPx.topLeft());
}

void Form::windowGeometryChanged()
{
    if (!m_window->isVisible())
        return;
    if (m_holding) {
        if (enlarged() || !holdSettled())
            return;
        m_holding = false;
    }
    if (!m_fixedSize.isEmpty() && !enlarged() && !(m_window->windowState() & Qt::WindowMinimized)
        && m_window->size() != m_fixedSize) {
        m_window->resize(m_fixedSize); // a fixed dialog that the compositor let the user resize
    }
    syncFromWindow();
    raiseResize(false);
}

void Form::windowStateChanged()
{
    const Qt::WindowStates state = m_window->windowState();
    if (!m_maximisable && (state & Enlarged) && m_window->isVisible()) {
        // Some window managers maximise any window that can be resized: it goes back at once,
        // once the platform has taken in the state it reports, or it would not hear the restore.
        QTimer::singleShot(0, m_window, [this] {
            const Qt::WindowStates now = m_window->windowState();
            if ((now & Enlarged) && m_window->isVisible())
                restoreNormal(now & ~Enlarged);
        });
    }
    raiseResize(false);
}

void Form::raiseResize(bool force)
{
    syncFromWindow();
    const int state = windowState();
    const QMargins margins = nonClient();
    // A new frame changes the client area even when the outer size stays; a maximised window
    // changes it while its normal size stays.
    const QSize client = m_window->client()->size();
    if (!force && m_lastResize.width == m_outer.width && m_lastResize.height == m_outer.height
        && m_lastResize.state == state && m_lastResize.frame == margins
        && m_lastResize.client == client)
        return;
    m_lastResize = { m_outer.width, m_outer.height, state, margins, client };
    onResize();
}

// --- Showing and closing ----------------------------------------------------------------------

void Form::setDefaultButton(CommandButton& button)
{
    auto* push = static_cast<QPushButton*>(button.widget());
    push->setDefault(true);
    m_window->setDefaultButton(push);
}

void Form::setCancelButton(CommandButton& button)
{
    m_window->setCancelButton(static_cast<QPushButton*>(button.widget()));
}

void Form::setTabOrder(std::initializer_list<Control*> controls)
{
    m_tabOrder.assign(controls.begin(), controls.end());
    for (std::size_t i = 1; i < m_tabOrder.size(); ++i)
        QWidget::setTabOrder(m_tabOrder[i - 1]->widget(), m_tabOrder[i]->widget());
}

void Form::addShortcut(const QKeySequence& key, std::function<void()> action)
{
    auto* shortcut = new QShortcut(key, m_window);
    shortcut->setAutoRepeat(false);
    QObject::connect(shortcut, &QShortcut::activated, shortcut, std::move(action));
}

void Form::show()
{
    if (m_window->isVisible()) {
        // Activating a minimised window is put off until it is back: ask for it back first.
        if (m_window->windowState() & Qt::WindowMinimized)
            m_window->setWindowState(m_window->windowState() & ~Qt::WindowMinimized);
        m_window->raise();
        m_window->activateWindow();
        return;
    }
    const bool first = !m_shownOnce;
    m_shownOnce = true;
    m_framed = false;
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    if (first && !m_tabOrder.empty())
        m_tabOrder.front()->setFocus();
    raiseResize(first);
}

void Form::unload()
{
    if (m_unloading || g_programEnded)
        return;
    m_unloading = true;
    bool cancel = false;
    onQueryUnload(cancel);
    if (cancel) {
        m_unloading = false;
        return;
    }
    onUnload();
    if (g_programEnded)
        return; // the program ended inside onUnload; every form is already gone from the screen
    m_window->hide();
    if (m_release)
        m_release();
}

void Form::retire(std::unique_ptr<Form> form)
{
    // A form often unloads itself from one of its own handlers: it is deleted once the
    // handler has returned.
    form->m_window->hide();
    form->m_window->detach();
    form->m_release = nullptr;
    auto& forms = liveForms();
    forms.erase(std::remove(forms.begin(), forms.end(), form.get()), forms.end());
    unloadedForms().push_back(std::move(form));
    if (auto* app = QCoreApplication::instance())
        QTimer::singleShot(0, app, &Form::deleteUnloaded);
}

void Form::deleteUnloaded()
{
    auto forms = std::move(unloadedForms());
    unloadedForms().clear();
    forms.clear();
}

void Form::closeAll()
{
    const std::vector<Form*> forms = liveForms();
    for (Form* form : forms) {
        if (g_programEnded)
            break;
        if (isLive(form))
            form->unload();
    }
}

void Form::endProgram()
{
    g_programEnded = true;
    for (Form* form : liveForms())
        form->m_window->hide();
    QCoreApplication::exit(0);
}

bool Form::programEnded() { return g_programEnded; }

void Form::destroyAll()
{
    const std::vector<Form*> forms = liveForms();
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

} // namespace toolkit
