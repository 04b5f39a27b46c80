#pragma once

// host[:port] of the picture service. Each executable compiles its own in from
// the build's PICTURE_SERVICE_HOST; nothing at run time changes it.
extern const char* const PictureServiceHost;
