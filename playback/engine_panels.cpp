#include "playback/engine_panels.h"
