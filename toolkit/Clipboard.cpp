#include "toolkit/Clipboard.h"

#include "toolkit/SystemClipboard.h"

namespace toolkit {

namespace {
    Clipboard* g_installed = nullptr;
}

Clipboard& Clipboard::current()
{
    static SystemClipboard system;
    return g_installed ? *g_installed : system;
}

void Clipboard::install(Clipboard* clipboard) { g_installed = clipboard; }

} // namespace toolkit
