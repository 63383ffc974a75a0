#include "playlist/playlist_file.h"
