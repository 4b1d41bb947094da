#include "window/Platform.h"

RealPlatform::RealPlatform() = default;

Platform RealPlatform::platform() {
    return Platform{lines_, counter_, pulseSleep_, clock_, pause_, timeOfDay_, end_};
}
