// The pictures of the shell windows: JPEG images decoded with libjpeg.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// The image the JPEG bytes hold, as RGB888; a null image when the bytes are not a
// complete, sound JPEG (empty, truncated, corrupt, or too large to hold in memory).
QImage DecodeJpeg(const QByteArray& bytes);

// A picture shipped with the program (":/pictures/<name>"), decoded; a null image when
// it is missing or unreadable.
QImage PictureResource(const QString& name);
