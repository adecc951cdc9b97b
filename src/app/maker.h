// The maker's addresses live with the App context, where every layer can
// reach them.
#pragma once
#include "context/maker.h"
