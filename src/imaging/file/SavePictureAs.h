#pragma once
// Saving a picture a window displays as an image file of the user's choice: the routine the
// analyser, the spectrum window and the capture window call.
class QImage;
class QString;

// Shows the frame's common dialog for saving (a dialog of its own when there is no frame),
// titled title, and writes the picture in the chosen format with the frame's JPEG quality
// (85 when there is no frame or its setting is unreadable). Reports by message boxes.
void SavePictureAs(const QImage& picture, const QString& title);
