#pragma once
// A reader/writer lock for process-wide tables: shared for look-ups, exclusive for
// replacement. On Windows it is a slim reader/writer lock (one pointer, no kernel
// object, nothing to destroy); elsewhere std::shared_mutex. Usable with
// std::shared_lock and std::unique_lock.

#ifndef _WIN32
#include <shared_mutex>
#endif

class ReaderWriterLock {
 public:
  ReaderWriterLock() = default;
  ReaderWriterLock(const ReaderWriterLock&) = delete;
  ReaderWriterLock& operator=(const ReaderWriterLock&) = delete;

  void lock();
  void unlock();
  void lock_shared();
  void unlock_shared();

 private:
#ifdef _WIN32
  void* srw_ = nullptr;  // the SRWLOCK itself: zero means unlocked
#else
  std::shared_mutex mutex_;
#endif
};
