#include "forms/main/FrmQuilmar.h"

#include "app/EuroProgramme.h"
#include "forms/help/FrmAide.h"
#include "forms/settings/FrmParam.h"
#include "resources/Pictures.h"

#include <cmath>

toolkit::FormSlot<FrmQuilmar> frmQuilmar;

namespace {

toolkit::FormDesign design()
{
    toolkit::FormDesign form;
    form.caption = QStringLiteral("Quilmar v1.0");
    form.clientLeft = 3750;
    form.clientTop = 4050;
    form.clientWidth = 3990;
    form.clientHeight = FrmQuilmar::DesignedClientHeight;
    form.maxButton = false;
    form.icon = Pictures::quilmar();
    return form;
}

// Whole twips, an exact half going to the even neighbour.
std::int32_t wholeTwips(float twips) { return std::int32_t(std::lrint(twips)); }

} // namespace

FrmQuilmar::FrmQuilmar()
    : Form(design())
    , Picture2(clientWidget())
    , Picture1(clientWidget())
    , PictureColler2(clientWidget())
    , PictureColler1(clientWidget())
    , PictureCopier2(clientWidget())
    , PictureCopier1(clientWidget())
    , TextFranc(clientWidget())
    , TextEuro(clientWidget())
    , LabelFranc(clientWidget(), QStringLiteral("€"))
    , LabelEuro(clientWidget(), QStringLiteral("F"))
    , m_conversion(TextEuro, TextFranc, EuroProgramme::Settings)
{
    designImageButton(Picture2, 3480, 120, Pictures::parametres());
    designImageButton(Picture1, 3480, 600, Pictures::aide());
    designImageButton(PictureColler2, 480, 600, Pictures::coller());
    designImageButton(PictureColler1, 480, 120, Pictures::coller());
    designImageButton(PictureCopier2, 120, 600, Pictures::copier());
    designImageButton(PictureCopier1, 120, 120, Pictures::copier());

    for (toolkit::TextBox* text : { &TextFranc, &TextEuro })
        text->setAlignment(toolkit::TextBox::Alignment::Right);
    TextFranc.setGeometry(960, 600, 2055, 285);
    TextEuro.setGeometry(960, 120, 2055, 285);

    LabelFranc.setGeometry(3120, 600, 375, 255);
    LabelEuro.setGeometry(3120, 120, 375, 255);
    for (toolkit::Label* label : { &LabelFranc, &LabelEuro })
        label->setFont(QStringLiteral("Arial"), 9.75f, true);

    setTabOrder({ &TextEuro, &TextFranc, &PictureCopier1, &PictureCopier2, &PictureColler1,
        &PictureColler2, &Picture1, &Picture2 });
    setUserWidthRange(MinimumWidth, MaximumWidth);
    setUserFixedHeight(DesignedClientHeight);

    TextEuro.onKeyPress = [this](std::int16_t& code) { m_conversion.TextEuroKeyPress(code); };
    TextFranc.onKeyPress = [this](std::int16_t& code) { m_conversion.TextFrancKeyPress(code); };
    PictureCopier1.onClick = [this] { conversion::AmountConverter::CopyAmount(TextEuro); };
    PictureCopier2.onClick = [this] { conversion::AmountConverter::CopyAmount(TextFranc); };
    PictureColler1.onClick = [this] { conversion::AmountConverter::PasteAmount(TextEuro); };
    PictureColler2.onClick = [this] { conversion::AmountConverter::PasteAmount(TextFranc); };
    Picture1.onClick = [] { frmAide->show(); };
    Picture2.onClick = [] { frmParam->show(); };
    // The desktop's keys for help and for quitting: F1 as the help button, Ctrl+Q as the close box.
    addShortcut(QKeySequence(Qt::Key_F1), [this] { Picture1.click(); });
    addShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), [] { frmQuilmar.unload(); });
}

FrmQuilmar::~FrmQuilmar() = default;

void FrmQuilmar::designImageButton(
    toolkit::PictureBox& button, float left, float top, const toolkit::Picture& picture)
{
    button.setGeometry(left, top, 375, 375);
    button.setPicture(picture);
    // Pressed look: a border while any mouse button is held down on it.
    button.onMouseDown = [&button] {
        button.setBorderStyle(toolkit::BorderStyle::FixedSingle);
        button.refresh();
    };
    button.onMouseUp = [&button] {
        button.setBorderStyle(toolkit::BorderStyle::None);
        button.refresh();
    };
}

void FrmQuilmar::onResize()
{
    if (windowState() == toolkit::WindowState::Minimised)
        return;
    // The client area keeps its designed height whatever the window manager's title bar.
    setHeight(DesignedClientHeight + nonClientHeight());
    if (width() < MinimumWidth)
        setWidth(MinimumWidth);
    if (width() > MaximumWidth)
        setWidth(MaximumWidth);
    const float w = width();
    Picture1.setLeft(w - 630);
    Picture2.setLeft(w - 630);
    LabelEuro.setLeft(Picture1.left() - 350);
    LabelFranc.setLeft(Picture1.left() - 350);
    TextEuro.setWidth(LabelEuro.left() - TextEuro.left() - 100);
    TextFranc.setWidth(LabelEuro.left() - TextEuro.left() - 100);
}

void FrmQuilmar::onQueryUnload(bool&)
{
    using EuroProgramme::Settings;
    setWindowState(toolkit::WindowState::Normal);
    Settings.WindowLeft = wholeTwips(left());
    Settings.WindowTop = wholeTwips(top());
    Settings.WindowWidth = wholeTwips(width());
    EuroProgramme::SaveSettings();
}

void FrmQuilmar::onUnload() { toolkit::Form::endProgram(); }
