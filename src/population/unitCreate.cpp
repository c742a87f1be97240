#include "unitCreate.h"

unitCreate::unitCreate() = default;
