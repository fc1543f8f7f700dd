#include "OdbcFixture.h"
