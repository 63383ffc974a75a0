#include "playback/media_engine.h"
