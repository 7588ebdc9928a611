#include "base/ThreadRecord.h"

namespace base {
namespace {

thread_local ThreadRecord* current_record = nullptr;

}  // namespace

ThreadRecord* CurrentThreadRecord() { return current_record; }

ScopedThreadRecord::ScopedThreadRecord(ThreadRecord* record) : outer_(current_record) { current_record = record; }

ScopedThreadRecord::~ScopedThreadRecord() { current_record = outer_; }

}  // namespace base
