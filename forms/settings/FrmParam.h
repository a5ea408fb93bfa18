#pragma once

#include "toolkit/CheckBox.h"
#include "toolkit/ComboBox.h"
#include "toolkit/CommandButton.h"
#include "toolkit/FormSlot.h"
#include "toolkit/Frame.h"
#include "toolkit/Label.h"
#include "toolkit/TextBox.h"

#include <array>
#include <cstdint>

struct SettingsRecord;

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
    // Fills the fields as the record holds its settings.
    void showSettings(const SettingsRecord& settings);

    bool m_rateBusy = false;
};

extern toolkit::FormSlot<FrmParam> frmParam;
