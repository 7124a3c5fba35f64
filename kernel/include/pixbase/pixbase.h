/* The whole public interface of PIXBASE. */
#ifndef PIXBASE_PIXBASE_H
#define PIXBASE_PIXBASE_H

#include "allocator.h"
#include "api.h"
#include "attributes.h"
#include "coders.h"
#include "constant_texts.h"
#include "exceptions.h"
#include "formats.h"
#include "geometry.h"
#include "image.h"
#include "image_io.h"
#include "jump_context.h"
#include "memory.h"
#include "modules.h"
#include "pixel.h"
#include "platform_services.h"
#include "semaphore.h"
#include "streams.h"
#include "text.h"

#endif
