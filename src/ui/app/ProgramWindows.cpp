#include "ui/app/ProgramWindows.h"

#include "ui/app/DialogAbout.h"
#include "ui/app/Mainform.h"
#include "ui/open/DialogFileError.h"
#include "ui/open/DialogOpenAnalysis.h"
#include "ui/settings/DialogSettings.h"

std::unique_ptr<TMainform> CreateProgramWindows(const QString& offeredDirectory)
{
    auto mainform = std::make_unique<TMainform>();
    auto* about = new TDialogAbout(mainform.get());
    // Serves every analysis window through DialogSettings().
    new TDialogSettings(mainform.get());
    auto* fileError = new TDialogFileError(mainform.get());
    auto* openAnalysis = new TDialogOpenAnalysis(fileError, mainform.get());
    mainform->AttachDialogs(about, fileError, openAnalysis);
    mainform->OfferDirectory(offeredDirectory);
    return mainform;
}
