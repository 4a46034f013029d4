#include "ChartPicture.h"

#include "AtomicFile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QStringList>
#include <QWidget>

namespace luvir {

const QStringList kPictureFilters = {
    QStringLiteral("JPEG Image File (*.jpg)"),
    QStringLiteral("JPEG Image File (*.jpeg)"),
    QStringLiteral("Portable Network Graphics (*.png)"),
    QStringLiteral("Bitmaps (*.bmp)"),
    QStringLiteral("Enhanced Metafiles (*.emf)"),
    QStringLiteral("Metafiles (*.wmf)"),
};

QImage chartPicture(QWidget &view)
{
    QImage picture(view.size(), QImage::Format_RGB32);
    // Texts take the size they have on screen only when the picture has the screen's resolution.
    constexpr double kInchesPerMetre = 39.37;
    picture.setDotsPerMeterX(qRound(view.logicalDpiX() * kInchesPerMetre));
    picture.setDotsPerMeterY(qRound(view.logicalDpiY() * kInchesPerMetre));
    picture.fill(Qt::white);
    QPainter painter(&picture);
    view.render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
    return picture;
}

QByteArray pictureFormat(const QString &fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == u"jpg" || suffix == u"jpeg")
        return "jpg";
    if (suffix == u"png")
        return "png";
    return "bmp";
}

bool writePicture(const QImage &picture, const QString &fileName, QString *error)
{
    // Encoded in memory first: the file is then written by the one writer that tells the
    // system's reason when the disk refuses the rest of it.
    QBuffer encoded;
    encoded.open(QIODevice::WriteOnly);
    QImageWriter writer(&encoded, pictureFormat(fileName));
    if (!writer.write(picture)) {
        if (error)
            *error = writer.errorString();
        return false;
    }
    return writeFileAtomically(fileName, encoded.data(), error);
}

} // namespace luvir
