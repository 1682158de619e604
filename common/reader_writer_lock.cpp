#include "common/reader_writer_lock.h"

#ifdef _WIN32
#include <windows.h>

static_assert(sizeof(SRWLOCK) == sizeof(void*), "an SRWLOCK is one pointer");

namespace {
PSRWLOCK Srw(void*& storage) { return reinterpret_cast<PSRWLOCK>(&storage); }
}  // namespace

void ReaderWriterLock::lock() { AcquireSRWLockExclusive(Srw(srw_)); }
void ReaderWriterLock::unlock() { ReleaseSRWLockExclusive(Srw(srw_)); }
void ReaderWriterLock::lock_shared() { AcquireSRWLockShared(Srw(srw_)); }
void ReaderWriterLock::unlock_shared() { ReleaseSRWLockShared(Srw(srw_)); }

#else

void ReaderWriterLock::lock() { mutex_.lock(); }
void ReaderWriterLock::unlock() { mutex_.unlock(); }
void ReaderWriterLock::lock_shared() { mutex_.lock_shared(); }
void ReaderWriterLock::unlock_shared() { mutex_.unlock_shared(); }

#endif
