// Resources shared by both programs (included by each edition's .rc).
#ifndef RC_INVOKED
#pragma once
#endif
#define CREATEPROCESS_MANIFEST_RESOURCE_ID 1
#define RT_MANIFEST 24
CREATEPROCESS_MANIFEST_RESOURCE_ID RT_MANIFEST "korvanel.manifest"
