#include "pages/TfrmDisplayFile.h"

#include <richedit.h>

#include "ControlIds.h"
#include "core/Texts.h"
#include "ui/RichText.h"

namespace qv::wizard {

TfrmDisplayFile::TfrmDisplayFile(HWND parking, PrinterSetupDialog& printerSetup)
    : TfrmPrintableStep("frmDisplayFile", kDisplayFileClass, parking, printerSetup,
                        texts::kListOfChanges)
{
    FormCreate();
}

void TfrmDisplayFile::FormCreate()
{
    TitleStrip().SetCaption(texts::kListOfChanges);
    richEditFile_ = CreateRichViewer(Handle(), kIdRichEditFile, WS_VSCROLL | WS_HSCROLL);
    // Lines wrap at the viewer's width, so the list reads without scrolling
    // sideways; the bars stay for what cannot wrap (a wide picture or table).
    ::SendMessageA(richEditFile_, EM_SETTARGETDEVICE, 0, 0);
    SetDocument(richEditFile_, richEditFile_);
}

std::string TfrmDisplayFile::GetNextCaption()
{
    return texts::kStartCaption;
}

}  // namespace qv::wizard
