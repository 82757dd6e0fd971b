// The stream module: byte streams, their errors, memory and file streams,
// the URL factories and the module functions. Include this one header.
#pragma once

#include "toolkit/resources/c_stream.h"
#include "toolkit/resources/incbin.h"
#include "toolkit/resources/ram_stream.h"
#include "toolkit/resources/stream_base.h"
#include "toolkit/resources/stream_error.h"
#include "toolkit/resources/stream_factory.h"
#include "toolkit/resources/stream_functions.h"
#include "toolkit/resources/stream_wrapper.h"
#include "toolkit/resources/url.h"
