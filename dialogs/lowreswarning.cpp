#include "dialogs/lowreswarning.h"

#include "render/lowres.h"
#include "widgets/shellprompts.h"

bool ConfirmSharpPhotos(QWidget* pOwner, CShellPrompts& prompts, const CardDocument& doc, QSizeF szOutputInches)
{
    const std::vector<LowResPhoto> vecLow = LowResolutionPhotos(doc, szOutputInches);
    if (vecLow.empty())
        return true;
    const QString strText = QStringLiteral("These photos have too few pixels for this size and will look blurry "
                                           "(%1 ppi or more looks sharp):\n\n%2\n\nContinue anyway?")
                                .arg(kSharpPpi)
                                .arg(LowResolutionText(vecLow));
    return prompts.MessageBox(pOwner, strText, QStringLiteral("Low resolution"), QMessageBox::Ok | QMessageBox::Cancel,
               QMessageBox::Warning)
        == QMessageBox::Ok;
}
