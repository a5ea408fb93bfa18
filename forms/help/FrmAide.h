#pragma once

#include "toolkit/FormSlot.h"
#include "toolkit/Menu.h"
#include "toolkit/MenuItem.h"
#include "toolkit/RichTextBox.h"

#include <functional>

// The help window: the help document, filling the client area below its one menu.
class FrmAide final : public toolkit::Form {
public:
    FrmAide();
    ~FrmAide() override;

    toolkit::RichTextBox RichTextBox1;
    toolkit::Menu rien; // "&Fichier"
    toolkit::MenuItem AideQuit;

    // Shown until the help file has been read.
    static QByteArray designedDocument();

    // The window that this one opens centred on, given at start-up.
    static inline std::function<toolkit::Form&()> mainWindow;

protected:
    void onLoad() override;
    void onResize() override;

private:
    // Shows the file's document; false when it cannot be read or shows nothing at all.
    bool loadHelp(const QString& path);
};

extern toolkit::FormSlot<FrmAide> frmAide;
