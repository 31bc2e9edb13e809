#include "dialogs/lowreswarning.h"

#include <QMessageBox>
#include <QPushButton>

#include "render/lowres.h"
#include "widgets/shellprompts.h"

bool ConfirmSharpPhotos(QWidget* pOwner, CShellPrompts& prompts, const CardDocument& doc, QSizeF szOutputInches)
{
    const std::vector<LowResPhoto> vecLow = LowResolutionPhotos(doc, szOutputInches);
    if (vecLow.empty())
        return true;
    const QString strText = QStringLiteral("These photos have too few pixels for this size and will look blurry "
                                           "(%1 ppi or more looks sharp):\n\n%2")
                                .arg(kSharpPpi)
                                .arg(LowResolutionText(vecLow));
    QMessageBox box(
        QMessageBox::Warning, QStringLiteral("Low resolution"), strText, QMessageBox::Ok | QMessageBox::Cancel, pOwner);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("Continue"));
    box.setDefaultButton(QMessageBox::Cancel);
    // Run as a dialog so that the answer, like any other, can come from the prompts.
    return prompts.RunModal(box) == QMessageBox::Ok;
}
