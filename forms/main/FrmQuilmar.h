#pragma once

#include "conversion/AmountConverter.h"
#include "toolkit/FormSlot.h"
#include "toolkit/Label.h"
#include "toolkit/PictureBox.h"
#include "toolkit/TextBox.h"

#include <functional>

// The main window: a narrow strip with one row per currency. Each row holds a copy and a paste
// button, the amount field, the currency symbol and a window button (settings on the first row,
// help on the second). The width follows the user between two limits; the height is fixed.
class FrmQuilmar final : public toolkit::Form {
public:
    static constexpr float DesignedClientHeight = 1065;
    static constexpr float MinimumWidth = 2900;
    static constexpr float MaximumWidth = 5700;

    FrmQuilmar();
    ~FrmQuilmar() override;

    // In the order of the window's definition.
    toolkit::PictureBox Picture2; // opens the settings dialog
    toolkit::PictureBox Picture1; // opens the help window
    toolkit::PictureBox PictureColler2;
    toolkit::PictureBox PictureColler1;
    toolkit::PictureBox PictureCopier2;
    toolkit::PictureBox PictureCopier1;
    toolkit::TextBox TextFranc; // amount in currency 2
    toolkit::TextBox TextEuro; // amount in currency 1
    toolkit::Label LabelFranc;
    toolkit::Label LabelEuro;

    const conversion::AmountConverter& conversion() const { return m_conversion; }

    // The currency symbols beside the amount fields.
    void showSymbols(const SettingsRecord& settings);
    // The tooltips (when the settings show them) and what a screen reader says of the controls,
    // both following the currency names.
    void showToolTips(const SettingsRecord& settings);
    // Empties both amount fields, as new settings are accepted.
    void clearAmounts();

    // Saves the settings at closing, once the window's place is in them: the module's
    // SaveSettings, given at start-up, since the window cannot name the module built on it.
    static inline std::function<void()> saveSettings;

protected:
    void onResize() override;
    void onQueryUnload(bool& cancel) override;
    void onUnload() override;

private:
    void designImageButton(
        toolkit::PictureBox& button, float left, float top, const toolkit::Picture& picture);

    conversion::AmountConverter m_conversion;
};

extern toolkit::FormSlot<FrmQuilmar> frmQuilmar;
