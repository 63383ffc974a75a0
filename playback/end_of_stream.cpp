#include "playback/end_of_stream.h"
