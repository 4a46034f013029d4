#pragma once
// Chart pictures: the chart drawn on a white bitmap of its size on screen, and the
// picture written to a file in the format its name asks for.

#include <QByteArray>
#include <QImage>
#include <QString>

QT_BEGIN_NAMESPACE
class QWidget;
QT_END_NAMESPACE

namespace luvir {

// The filters of the picture save dialog, in the order offered; the first is selected.
extern const QStringList kPictureFilters;
inline const QString kPictureDefaultSuffix = QStringLiteral("JPG");

// `view` drawn as it is on screen, at its size in pixels, on white.
QImage chartPicture(QWidget &view);

// The image format written for a file name: "jpg" for .jpg and .jpeg, "png", "bmp";
// any other name (.emf and .wmf included, which cannot be written here) gets "bmp".
QByteArray pictureFormat(const QString &fileName);

// Writes `picture` to `fileName`, replacing a file of that name only once the new
// picture is complete. On failure returns false and puts the reason in `error`.
bool writePicture(const QImage &picture, const QString &fileName, QString *error);

} // namespace luvir
