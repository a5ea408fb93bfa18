#pragma once

#include <QMargins>
#include <memory>
#include <vector>

class QIcon;

namespace toolkit {

class Form;
class Picture;

// The forms of the run: those alive, in the order they were made, and those unloaded but not
// yet deleted; and whether the program has ended.
class FormRegistry {
public:
    static void add(Form* form);
    static void remove(Form* form);
    static bool isLive(const Form* form);
    static const std::vector<Form*>& live();

    // A form often unloads itself from one of its own handlers: it is deleted once the handler
    // has returned.
    static void retire(std::unique_ptr<Form> form);
    static void deleteUnloaded();

    // The session is ending: every form closes the normal way, in the order they were made.
    static void closeAll();
    // The program ends: every form goes at once, without events, and the event loop stops.
    static void endProgram();
    // Deletes every form and forgets what the run learned; a new run may begin.
    static void destroyAll();

    // Until the window manager has framed a window, its frame is assumed to be that of the last
    // window framed, or at first the one a form assumes.
    static void learnFrame(QMargins frame);
    static QMargins assumedFrame();

    static const QIcon& icon(const Picture& picture);

    static bool programEnded();
};

} // namespace toolkit
