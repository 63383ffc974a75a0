#include "playback/movie_toolbar.h"
