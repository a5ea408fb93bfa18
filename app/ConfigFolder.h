#pragma once

#include <QString>

// The folder in which a start from the desktop menu works, so that its settings land in the
// user's configuration folder rather than in the home folder where the menu starts programs.
class ConfigFolder {
public:
    // $XDG_CONFIG_HOME/quilmar, or $HOME/.config/quilmar when XDG_CONFIG_HOME is unset, empty
    // or relative (a relative value is to be ignored). Empty when HOME is no absolute path
    // either.
    static QString path(const QString& xdgConfigHome, const QString& home);
    // Creates `folder` and its missing parents, each readable by the user only, and moves
    // home/Quilmar.ini into it when it holds no Quilmar.ini yet: menu starts before this folder
    // existed kept their settings in the home folder. An existing folder keeps its permissions.
    // Returns why it failed, or an empty text.
    static QString prepare(const QString& folder, const QString& home);
    // path() from the environment, prepare(), then the folder as working directory. On failure
    // it says why on standard error and leaves the working directory alone: the settings then
    // stay where they were, and a failed move is tried again at the next start.
    static void enter();
};
