#include "platform/Pictures.h"

#include "res/DialogTemplates.h"

#include <QString>

namespace fmb {

QIcon AppIcon() {
    return QIcon(QStringLiteral(":/res/icon.png"));
}

QPixmap BitmapResource(int resourceId) {
    if (resourceId == kBannerBitmapResource)
        return QPixmap(QStringLiteral(":/res/banner.png"));
    return QPixmap();
}

} // namespace fmb
