#include "FolderPicker.h"

#include <QDir>
#include <QFileDialog>

namespace revlane::platform {

std::optional<QString> DialogFolderPicker::PickFolder(QWidget* owner)
{
    const QString folder = QFileDialog::getExistingDirectory(owner, QString::fromLatin1(FolderPickerTitle),
                                                             QDir::rootPath(), QFileDialog::ShowDirsOnly);
    if (folder.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(folder);
}

}  // namespace revlane::platform
