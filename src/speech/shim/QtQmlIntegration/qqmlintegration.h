// Stands in for the header of Qt's QML integration, which the text-to-speech header
// includes for a marker that only matters to QML: Debian 12's qt6-speech-dev does not
// bring it along (it lives in qt6-declarative-dev).
#pragma once
#ifndef QML_ELEMENT
#define QML_ELEMENT
#endif
