#include "pages/ChangesPage.h"

#include <richedit.h>

#include "ControlIds.h"
#include "core/Texts.h"
#include "ui/RichText.h"

namespace qv::wizard {

ChangesPage::ChangesPage(HWND parking, PrinterSetupDialog& printerSetup)
    : PrintablePage("frmDisplayFile", kChangesPageClass, parking, printerSetup,
                    texts::kListOfChanges)
{
    CreateControls();
}

void ChangesPage::CreateControls()
{
    TitleStrip().SetCaption(texts::kListOfChanges);
    richEditFile_ = CreateRichViewer(Handle(), kIdRichEditFile, WS_VSCROLL | WS_HSCROLL);
    // Lines wrap at the viewer's width, so the list reads without scrolling
    // sideways; the bars stay for what cannot wrap (a wide picture or table).
    ::SendMessageA(richEditFile_, EM_SETTARGETDEVICE, 0, 0);
    SetDocument(richEditFile_, richEditFile_);
}

std::string ChangesPage::GetNextCaption()
{
    return texts::kStartCaption;
}

}  // namespace qv::wizard
