#pragma once
// The filter's exports, over the kernel's filter interface (the request
// records and statuses, declared on the kernel's side).

#include "platform/imaging/FilterRequests.h"

namespace vondral {

using imaging::BitmapRecord;
using imaging::VectorObject;
using imaging::filter::FileInfoRecord;
using imaging::filter::InfoRequest;
using imaging::filter::LoadRequest;
using imaging::filter::RowCallback;
using imaging::filter::SaveRequest;

using imaging::filter::kCannotOpen;
using imaging::filter::kNoMarker;
using imaging::filter::kNoMemory;
using imaging::filter::kNoObject;
using imaging::filter::kSuccess;
using imaging::filter::kUnknown;

using imaging::filter::FormatRasterDump;
using imaging::filter::FormatVectorDump;

using imaging::filter::kFirstRow;
using imaging::filter::kLastRow;
using imaging::filter::kRowFlags;

}  // namespace vondral

// The exports: ordinal 1 DllMain, 100 fltInfo, 101 fltLoad, 102 fltSave.
extern "C" {
BW_EXPORT int32_t BW_STDCALL DllMain(void* module, uint32_t reason, void* reserved);
BW_EXPORT int32_t BW_STDCALL fltInfo(imaging::filter::InfoRequest* request);
BW_EXPORT int32_t BW_STDCALL fltLoad(imaging::filter::LoadRequest* request);
BW_EXPORT int32_t BW_STDCALL fltSave(imaging::filter::SaveRequest* request);
}
