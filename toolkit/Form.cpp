#include "toolkit/Form.h"

#include "toolkit/CommandButton.h"
#include "toolkit/Control.h"
#include "toolkit/FormRegistry.h"
#include "toolkit/FormWindow.h"
#include "toolkit/Twips.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QTimer>
#include <algorithm>
#include <optional>

namespace toolkit {

namespace {
    // A Wayland client neither places its windows nor learns where they are, and must take
    // exactly the size that the compositor gives a maximised window.
    bool onWayland() { return QGuiApplication::platformName().startsWith(u"wayland"); }

    constexpr Qt::WindowStates Enlarged = Qt::WindowMaximized | Qt::WindowFullScreen;

    // How long a restore may wait for the window manager to show the normal geometry again.
    constexpr int RestoreWaitMs = 1000;

    QMargins assumedFrame() { return FormRegistry::assumedFrame(); }
}

Form::Form(const FormDesign& design)
    : m_window(new FormWindow(*this))
    , m_maximisable(design.border == FormDesign::Border::Sizable && design.maxButton)
{
    FormRegistry::add(this);
    m_window->setWindowTitle(design.caption);
    if (!design.icon.isNull())
        m_window->setWindowIcon(FormRegistry::icon(design.icon));

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

    m_geometry = FormGeometry(
        { design.clientLeft, design.clientTop, design.clientWidth, design.clientHeight },
        assumedFrame(), !onWayland());
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
    FormRegistry::remove(this);
    delete m_window;
}

QWidget* Form::clientWidget() const { return m_window->client(); }

QString Form::caption() const { return m_window->windowTitle(); }

bool Form::isVisible() const { return m_window->isVisible(); }

// --- Geometry ---------------------------------------------------------------------------------

WindowPixels Form::pixels() const
{
    const Qt::WindowStates state = m_window->windowState();
    return { m_window->isVisible(), (state & Enlarged) != 0, (state & Qt::WindowMinimized) != 0,
        m_window->geometry(), m_window->frameGeometry() };
}

QMargins Form::frame() const { return FormGeometry::frame(pixels(), assumedFrame()); }

QMargins Form::nonClient() const
{
    QMargins margins = frame();
    margins.setTop(margins.top() + m_window->menuBarHeight());
    return margins;
}

void Form::menuBarAdded()
{
    m_geometry.addMenuBar(m_window->menuBarHeight());
    applyPosition();
    applySize();
}

bool Form::enlarged() const { return (m_window->windowState() & Enlarged) != 0; }

void Form::applyPosition()
{
    if (const std::optional<QPoint> place = m_geometry.placeToApply(enlarged()))
        m_window->move(*place); // a top-level window's position is that of its frame
}

void Form::applySize()
{
    const std::optional<QSize> inner = m_geometry.sizeToApply(enlarged(), frame());
    if (!inner)
        return;
    updateSizeLimits();
    m_window->resize(*inner);
    m_window->layoutClient();
}

void Form::adoptFrame()
{
    const WindowPixels window = pixels();
    if (!m_geometry.frameChanged(window, assumedFrame()))
        return;
    const std::optional<QMargins> real = FormGeometry::realFrame(window);
    if (real && !window.enlarged && !window.minimised)
        FormRegistry::learnFrame(*real);
    const std::optional<QSize> inner = m_geometry.adoptFrame(window, assumedFrame());
    updateSizeLimits();
    if (!inner)
        return;
    // The window manager has framed the window: keep the outer size the program gave it.
    m_window->resize(*inner);
    m_window->layoutClient();
}

void Form::syncFromWindow()
{
    if (!m_window->isVisible() || enlarged() || m_geometry.holding())
        return; // the normal geometry stays what the program reads
    adoptFrame();
    m_geometry.sync(pixels(), assumedFrame());
}

float Form::left() const { return m_geometry.read(pixels(), assumedFrame()).left; }

float Form::top() const { return m_geometry.read(pixels(), assumedFrame()).top; }

float Form::width() const { return m_geometry.read(pixels(), assumedFrame()).width; }

float Form::height() const { return m_geometry.read(pixels(), assumedFrame()).height; }

void Form::setLeft(float twips)
{
    syncFromWindow();
    m_geometry.outer().left = twips;
    applyPosition();
}

void Form::setTop(float twips)
{
    syncFromWindow();
    m_geometry.outer().top = twips;
    applyPosition();
}

void Form::setWidth(float twips)
{
    syncFromWindow();
    m_geometry.outer().width = twips;
    applySize();
    raiseResize(false);
}

void Form::setHeight(float twips)
{
    syncFromWindow();
    m_geometry.outer().height = twips;
    applySize();
    raiseResize(false);
}

void Form::centreOn(const Form& other)
{
    // No rounding before the toolkit's own.
    setTop(float(double(other.top()) + (double(other.height()) - double(height())) / 2.0));
    setLeft(float(double(other.left()) + (double(other.width()) - double(width())) / 2.0));
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
    m_geometry.setWidthRange(minimum, maximum);
    updateSizeLimits();
}

void Form::setUserFixedHeight(float clientHeight)
{
    m_geometry.setFixedClientHeight(clientHeight);
    updateSizeLimits();
}

void Form::updateSizeLimits()
{
    // Under Wayland the compositor's maximised size must be taken exactly, within any limits:
    // the forms keep their limits in their Resize handling.
    if (onWayland())
        return;
    if (const auto range = m_geometry.innerWidthRange(frame())) {
        m_window->setMinimumWidth(range->first);
        m_window->setMaximumWidth(range->second);
    }
    if (const std::optional<int> height = m_geometry.innerFixedHeight(m_window->menuBarHeight())) {
        m_window->setMinimumHeight(*height);
        m_window->setMaximumHeight(*height);
    }
}

WindowState Form::windowState() const
{
    const Qt::WindowStates state = m_window->windowState();
    if (state & Qt::WindowMinimized)
        return WindowState::Minimised;
    if (state & Qt::WindowMaximized)
        return WindowState::Maximised;
    return WindowState::Normal;
}

void Form::setWindowState(WindowState state)
{
    Qt::WindowStates flags = m_window->windowState() & ~(Qt::WindowMinimized | Enlarged);
    if (state == WindowState::Minimised)
        flags |= Qt::WindowMinimized;
    else if (state == WindowState::Maximised)
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
    m_geometry.hold();
    m_window->setWindowState(state);
    QTimer::singleShot(RestoreWaitMs, m_window, [this] {
        if (m_geometry.holding()) {
            m_geometry.release();
            windowGeometryChanged();
        }
    });
}

void Form::windowGeometryChanged()
{
    if (!m_window->isVisible())
        return;
    if (m_geometry.holding()) {
        if (enlarged() || !m_geometry.holdSettled(pixels(), assumedFrame()))
            return;
        m_geometry.release();
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
    const WindowState state = windowState();
    const QMargins margins = nonClient();
    const FormGeometry::Outer& outer = m_geometry.outer();
    // A new frame changes the client area even when the outer size stays; a maximised window
    // changes it while its normal size stays.
    const QSize client = m_window->client()->size();
    if (!force && m_lastResize.raised && m_lastResize.width == outer.width
        && m_lastResize.height == outer.height && m_lastResize.state == state
        && m_lastResize.frame == margins && m_lastResize.client == client)
        return;
    m_lastResize = { outer.width, outer.height, state, true, margins, client };
    onResize();
}

// --- Showing and closing ----------------------------------------------------------------------

void Form::setDefaultButton(CommandButton& button) { m_window->setDefaultButton(button.widget()); }

void Form::setCancelButton(CommandButton& button) { m_window->setCancelButton(button.widget()); }

void Form::setTabOrder(std::initializer_list<Control*> controls)
{
    m_tabOrder.assign(controls.begin(), controls.end());
    for (std::size_t i = 1; i < m_tabOrder.size(); ++i)
        QWidget::setTabOrder(m_tabOrder[i - 1]->widget(), m_tabOrder[i]->widget());
}

void Form::addShortcut(const QKeySequence& key, std::function<void()> action)
{
    m_window->addShortcut(key, std::move(action));
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
    m_geometry.expectFrame();
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    if (first && !m_tabOrder.empty())
        m_tabOrder.front()->setFocus();
    raiseResize(first);
}

void Form::unload()
{
    if (m_unloading || FormRegistry::programEnded())
        return;
    m_unloading = true;
    bool cancel = false;
    onQueryUnload(cancel);
    if (cancel) {
        m_unloading = false;
        return;
    }
    onUnload();
    if (FormRegistry::programEnded())
        return; // the program ended inside onUnload; every form is already gone from the screen
    m_window->hide();
    if (m_release)
        m_release();
}

void Form::retire(std::unique_ptr<Form> form) { FormRegistry::retire(std::move(form)); }

void Form::deleteUnloaded() { FormRegistry::deleteUnloaded(); }

void Form::closeAll() { FormRegistry::closeAll(); }

void Form::endProgram() { FormRegistry::endProgram(); }

bool Form::programEnded() { return FormRegistry::programEnded(); }

void Form::destroyAll() { FormRegistry::destroyAll(); }

} // namespace toolkit
