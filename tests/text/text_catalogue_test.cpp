#include "text_fixture.h"
