// A controller that knows its node: the two folders now name each other.
#include "node.h"
