#include "pages/TfrmDisplayFile.h"

#include "ControlIds.h"
#include "core/Texts.h"
#include "res/ResourceIds.h"
#include "ui/Dpi.h"
#include "ui/RichText.h"

namespace qv::wizard {

TfrmDisplayFile::TfrmDisplayFile(HWND parking, PrinterSetupDialog& printerSetup)
    : TfrmPrintableStep("frmDisplayFile", kDisplayFileClass, parking, printerSetup,
                        texts::kListOfChanges)
{
    Initialise();
}

void TfrmDisplayFile::FormCreate()
{
    TFrmStep::FormCreate();
    CreateTitleStrip();
    richEditFile_ = CreateRichViewer(Handle(), kIdRichEditFile, WS_VSCROLL | WS_HSCROLL);
    TitleStrip().SetCaption(texts::kListOfChanges);
    RECT r;
    ::GetClientRect(Handle(), &r);
    FormResize(r.right, r.bottom);
}

std::string TfrmDisplayFile::GetNextCaption()
{
    return texts::kStartCaption;
}

void TfrmDisplayFile::EnterStep()
{
    TFrmStep::EnterStep();
}

void TfrmDisplayFile::FormResize(int width, int height)
{
    if (!Created())
        return;
    const int strip = LayoutTitleStrip(width);
    ::MoveWindow(richEditFile_, 0, strip, width, height > strip ? height - strip : 0, TRUE);
}

}  // namespace qv::wizard
