#pragma once

#include "app/state/SettingsRecord.h"
#include "toolkit/CheckBox.h"
#include "toolkit/ComboBox.h"
#include "toolkit/CommandButton.h"
#include "toolkit/FormSlot.h"
#include "toolkit/Frame.h"
#include "toolkit/Label.h"
#include "toolkit/TextBox.h"

#include <array>
#include <cstdint>
#include <functional>

// The settings dialog: the name and symbol of each currency, the rate, the decimals shown and
// the tooltips. It edits its own fields only; "OK" stores them in the settings.
class FrmParam final : public toolkit::Form {
public:
    FrmParam();
    ~FrmParam() override;

    // Index 0 belongs to currency 1, index 1 to currency 2.
    std::array<toolkit::Frame, 2> Frame1;
    std::array<toolkit::Label, 2> Label1;
    std::array<toolkit::TextBox, 2> Text1; // names
    std::array<toolkit::Label, 2> Label2;
    std::array<toolkit::TextBox, 2> Text2; // symbols
    toolkit::Label Label3;
    toolkit::TextBox Text3; // rate
    toolkit::Label Label4;
    toolkit::ComboBox Combo1; // decimals shown
    toolkit::CheckBox Check1; // tooltips
    toolkit::CommandButton CommandDefaut;
    toolkit::CommandButton CommandOK;
    toolkit::CommandButton CommandAnnul;

    // Fills the seven fields as the record holds its settings, and nothing else.
    void showFields(const SettingsRecord& settings);
    // The tooltips, when the settings show them.
    void showToolTips(const SettingsRecord& settings);

    // Given at start-up, since the dialog cannot name what is built on it: the module's
    // ApplySettings, run at loading and by "OK"; what "OK" does to the main window's amounts;
    // the window that the dialog opens centred on.
    static inline std::function<void()> applySettings;
    static inline std::function<void()> clearMainAmounts;
    static inline std::function<toolkit::Form&()> mainWindow;

protected:
    void onLoad() override;

private:
    void Text1KeyPress(std::int16_t& code);
    void Text2KeyPress(int index, std::int16_t& code);
    void Text3KeyPress(std::int16_t& code);
    void Text3Change();
    void CommandOKClick();
    void CommandDefautClick();
    void CommandAnnulClick();

    bool m_rateBusy = false;
};

extern toolkit::FormSlot<FrmParam> frmParam;
