#pragma once

#include "toolkit/Application.h"

// How the program presents itself: its name, its desktop entry (installed as
// fr.quilmar.Quilmar.desktop, which a Wayland app_id must match), Qt's own texts in French.
//
// The windows' boxes were designed, in twips, around the classic sans UI font at 8.25 pt,
// which is narrower than the desktop's sans fonts: in those the captions would be cut.
// Carlito holds every caption at that size and at every scale, with a margin; without it the
// narrow Liberation face does. They stand in for the classic font wherever it is named.
inline toolkit::Application::Design quilmarApplicationDesign()
{
    toolkit::Application::Design design;
    design.name = QStringLiteral("Quilmar");
    design.desktopFileName = QStringLiteral("fr.quilmar.Quilmar");
    design.language = QLocale::French;
    design.designedFont = QStringLiteral("MS Sans Serif");
    design.fontStandIns = { QStringLiteral("Carlito"), QStringLiteral("Liberation Sans Narrow") };
    design.fontPointSize = 8.25;
    return design;
}
