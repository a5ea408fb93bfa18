#pragma once

#include "toolkit/FormGeometry.h"
#include "toolkit/Picture.h"

#include <QKeySequence>
#include <QMargins>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <vector>

class QWidget;

namespace toolkit {

class CommandButton;
class Control;
class FormWindow;

enum class WindowState { Normal, Minimised, Maximised };

struct FormDesign {
    enum class Border { Sizable, FixedDialog };

    QString caption {};
    // Where the client area stands on the screen and its size, in twips.
    float clientLeft = 0;
    float clientTop = 0;
    float clientWidth = 0;
    float clientHeight = 0;
    Border border = Border::Sizable;
    bool minButton = true;
    bool maxButton = true;
    Picture icon {}; // the window's icon
};

// A top-level window with its geometry in twips. Left, Top, Width and Height are the outer
// frame, title bar and borders included; until the window manager has framed a window, its
// frame is assumed to be that of the last window framed, or at first 60 twips on the sides and
// the bottom and 345 at the top. The program
// reads back exactly the value it set as long as the window has not moved or changed size since.
// While the window is maximised or full screen, Left, Top, Width and Height keep the normal
// place and size, which is where the window goes back to. A form designed without a maximise
// button never stays maximised or full screen, whatever the window manager does.
//
// A form is made by its FormSlot at first use, which runs onLoad; it stays hidden until show().
// Every close (close box, unload(), the session ending) runs onQueryUnload then onUnload.
class Form {
public:
    static constexpr float AssumedFrameSide = 60;
    static constexpr float AssumedFrameTop = 345;

    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Shows the form, modeless and without owner; a shown form comes to the front, out of the
    // task bar if it was minimised.
    void show();
    // Closes the form the normal way; its slot creates it afresh at the next use.
    void unload();
    bool isVisible() const;

    QString caption() const;

    float left() const;
    float top() const;
    float width() const;
    float height() const;
    void setLeft(float twips);
    void setTop(float twips);
    void setWidth(float twips);
    void setHeight(float twips);
    // The client area below the menu bar.
    float scaleWidth() const;
    float scaleHeight() const;
    WindowState windowState() const;
    void setWindowState(WindowState state);
    // Centres the form on another one, in fractions of a twip: top first, then left.
    void centreOn(const Form& other);

    // The title bar's and borders' share of Width and Height.
    float nonClientWidth() const;
    float nonClientHeight() const;

    // Limits that the window manager applies while the user drags the border, in outer twips.
    void setUserWidthRange(float minimum, float maximum);
    void setUserFixedHeight(float clientHeight);

    void setDefaultButton(CommandButton& button);
    void setCancelButton(CommandButton& button);
    // Tab order; the first control takes the focus when the form is first shown.
    void setTabOrder(std::initializer_list<Control*> controls);
    // A key that runs the action while the form is the active window, whichever control has the
    // focus; a text box never sees it.
    void addShortcut(const QKeySequence& key, std::function<void()> action);

    QWidget* clientWidget() const;
    FormWindow* window() const { return m_window; }

    // The session is ending: every form closes the normal way, in the order they were made.
    static void closeAll();
    // The program ends: every form goes at once, without events, and the event loop stops.
    static void endProgram();
    static bool programEnded();
    // Deletes every form (slots make them afresh); a new run may begin.
    static void destroyAll();
    // Deletes the forms unloaded so far (done by the event loop, or by tests).
    static void deleteUnloaded();

protected:
    explicit Form(const FormDesign& design);

    virtual void onLoad() { }
    virtual void onResize() { }
    virtual void onQueryUnload(bool& cancel) { (void)cancel; }
    virtual void onUnload() { }

private:
    friend class FormRegistry;
    friend class FormWindow;
    friend class Menu;
    template <class T> friend class FormSlot;

    void raiseLoad() { onLoad(); }
    void setReleaser(std::function<void()> releaser) { m_release = std::move(releaser); }
    static void retire(std::unique_ptr<Form> form);

    void windowGeometryChanged();
    void windowStateChanged();
    void raiseResize(bool force);
    // Maximised or full screen: the window manager or compositor owns the size.
    bool enlarged() const;
    // Back to the normal state, at the normal place and size.
    void restoreNormal(Qt::WindowStates state);
    // What the window shows now.
    WindowPixels pixels() const;
    // The window manager's frame, real or assumed.
    QMargins frame() const;
    // The frame with the menu bar: all that lies around the client area.
    QMargins nonClient() const;
    void menuBarAdded();
    void applyPosition();
    void applySize();
    // Takes in what the window shows, on its own events and before the program sets a value.
    void syncFromWindow();
    void adoptFrame();
    void updateSizeLimits();

    FormWindow* m_window;
    std::function<void()> m_release;
    FormGeometry m_geometry;
    bool m_shownOnce = false;
    bool m_unloading = false;
    bool m_maximisable;
    QSize m_fixedSize; // of the client area, for a fixed dialog
    struct {
        float width = -1, height = -1;
        WindowState state = WindowState::Normal;
        bool raised = false;
        QMargins frame;
        QSize client;
    } m_lastResize;
    std::vector<Control*> m_tabOrder;
};

} // namespace toolkit
