/* The whole public interface of PIXBASE. */
#ifndef PIXBASE_PIXBASE_H
#define PIXBASE_PIXBASE_H

#include "api.h"
#include "exceptions.h"
#include "geometry.h"
#include "image.h"
#include "memory.h"
#include "platform_services.h"
#include "semaphore.h"
#include "text.h"

#endif
