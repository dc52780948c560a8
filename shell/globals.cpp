#include "shell/globals.h"

// Defined together, in this order, so they are built in this order before the entry runs
// and destroyed in the reverse order at exit.
Map gameMap;
Snake ball;
MapList mapList;
