// A node that runs controllers.
#include "step.h"
