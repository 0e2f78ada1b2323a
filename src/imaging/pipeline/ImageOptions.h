#pragma once
// What the image processor's controls ask of the pipeline, as the window reads them when a run
// starts: check boxes, slider values, the selected option buttons and the texts of the size,
// crop and angle boxes (kept as typed: the pipeline converts them, and a text that is not a
// number is an error of that run).
#include <QString>

struct ImageOptions {
    bool flipHorizontal = false;     // check_fliphorizontal
    bool flipVertical = false;       // Check_flipvertical
    bool invert = false;             // Check_invert
    int contrast = 0;                // Slider_contrast, -100..100 percent
    int brightness = 0;              // Slider_brightness, -100..100 percent
    int gamma = 0;                   // Slider_gamma, -100..100 (see GammaOf)

    bool rescale = true;             // Check_rescaleimage
    int resizeOption = 1;            // resizeoption: 0 Smoothest, 1 Best quality, 2 Fastest
    QString widthPercent = "100";    // Text_width
    QString heightPercent = "100";   // Text_height
    QString widthPixels = "0";       // Text_widthp
    QString heightPixels = "0";      // Text_heightp

    bool crop = false;               // Check_crop; pixel edges in the rescaled image
    QString cropLeft = "0", cropTop = "0", cropRight = "0", cropBottom = "0";

    bool rotate = false;             // check_rotateangle
    int rotateOption = -1;           // Option_rotate: 0 -90, 1 +90, 2 +180, 3 +270, 4 other; -1 none
    QString rotateAngle = "0";       // rotateangle, degrees

    int quality = 85;                // Slider_quality, the JPEG quality 0..100

    // A batch job runs (the batch button's Tag is "1"); the size of the reference image
    // (imagewidth x imageheight) then decides how each image is rescaled.
    bool batchRunning = false;
    int referenceWidth = 0;
    int referenceHeight = 0;
};
