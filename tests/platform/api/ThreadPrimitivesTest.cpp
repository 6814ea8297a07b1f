// Thread-local slots, critical sections, events, threads, the environment and the debugger's
// thread-naming exception.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <thread>
#include <vector>

#include <windows.h>

namespace {

// Runs body on a thread of its own and waits until it has ended.
template <class Body>
void OnAnotherThread(Body body) {
  std::thread(body).join();
}

TEST(ThreadLocalSlots, EachThreadSeesItsOwnValueAndANullIsNoError) {
  const DWORD slot = TlsAlloc();
  ASSERT_NE(TLS_OUT_OF_INDEXES, slot);
  int mine = 1;
  int theirs = 2;
  ASSERT_TRUE(TlsSetValue(slot, &mine));
  OnAnotherThread([&] {
    SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_EQ(nullptr, TlsGetValue(slot));
    EXPECT_EQ(DWORD{ERROR_SUCCESS}, GetLastError());  // a null value is not a failure
    EXPECT_TRUE(TlsSetValue(slot, &theirs));
    EXPECT_EQ(&theirs, TlsGetValue(slot));
  });
  EXPECT_EQ(&mine, TlsGetValue(slot));
  EXPECT_TRUE(TlsFree(slot));
}

TEST(ThreadLocalSlots, AFreedSlotFailsAndComesBackEmpty) {
  const DWORD slot = TlsAlloc();
  int value = 1;
  ASSERT_TRUE(TlsSetValue(slot, &value));
  ASSERT_TRUE(TlsFree(slot));

  EXPECT_EQ(nullptr, TlsGetValue(slot));
  EXPECT_EQ(DWORD{ERROR_INVALID_PARAMETER}, GetLastError());
  EXPECT_FALSE(TlsSetValue(slot, &value));
  EXPECT_EQ(DWORD{ERROR_INVALID_PARAMETER}, GetLastError());
  EXPECT_FALSE(TlsFree(slot));
  EXPECT_EQ(DWORD{ERROR_INVALID_PARAMETER}, GetLastError());
  EXPECT_EQ(nullptr, TlsGetValue(TLS_OUT_OF_INDEXES));
  EXPECT_EQ(DWORD{ERROR_INVALID_PARAMETER}, GetLastError());

  // The lowest free slot comes back, without the value this thread stored before.
  const DWORD again = TlsAlloc();
  ASSERT_EQ(slot, again);
  EXPECT_EQ(nullptr, TlsGetValue(again));
  EXPECT_EQ(DWORD{ERROR_SUCCESS}, GetLastError());
  EXPECT_TRUE(TlsFree(again));
}

TEST(ThreadLocalSlots, AllSlotsCanBeTakenIncludingTheExpansionOnes) {
  std::vector<DWORD> taken;
  for (DWORD slot; (slot = TlsAlloc()) != TLS_OUT_OF_INDEXES;) taken.push_back(slot);
  EXPECT_EQ(DWORD{ERROR_NO_MORE_ITEMS}, GetLastError());
  ASSERT_FALSE(taken.empty());
  EXPECT_EQ(DWORD{1087}, taken.back());  // 64 slots and 1024 more

  const DWORD last = taken.back();
  int mine = 1;
  ASSERT_TRUE(TlsSetValue(last, &mine));
  OnAnotherThread([&] {
    EXPECT_EQ(nullptr, TlsGetValue(last));
    EXPECT_EQ(DWORD{ERROR_SUCCESS}, GetLastError());
    EXPECT_TRUE(TlsSetValue(last, nullptr));  // storing null needs no room
  });
  EXPECT_EQ(&mine, TlsGetValue(last));
  for (DWORD slot : taken) EXPECT_TRUE(TlsFree(slot));
}

TEST(Events, ManualAndAutoResetFollowThePlatform) {
  HANDLE manual = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE automatic = CreateEventW(nullptr, FALSE, TRUE, nullptr);
  ASSERT_NE(nullptr, manual);
  ASSERT_NE(nullptr, automatic);

  EXPECT_EQ(DWORD{WAIT_TIMEOUT}, WaitForSingleObject(manual, 0));
  ASSERT_TRUE(SetEvent(manual));
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(manual, 0));
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(manual, INFINITE));  // stays signalled
  ASSERT_TRUE(ResetEvent(manual));
  EXPECT_EQ(DWORD{WAIT_TIMEOUT}, WaitForSingleObject(manual, 0));

  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(automatic, 0));  // created signalled
  EXPECT_EQ(DWORD{WAIT_TIMEOUT}, WaitForSingleObject(automatic, 0));  // the wait took the signal
  ASSERT_TRUE(SetEvent(automatic));
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(automatic, 0));

  EXPECT_TRUE(CloseHandle(manual));
  EXPECT_TRUE(CloseHandle(automatic));
}

TEST(Events, AWaitingThreadWakesWhenTheEventIsSet) {
  HANDLE go = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  DWORD seen = WAIT_FAILED;
  std::thread waiter([&] { seen = WaitForSingleObject(go, INFINITE); });
  ASSERT_TRUE(SetEvent(go));
  waiter.join();
  EXPECT_EQ(WAIT_OBJECT_0, seen);
  EXPECT_TRUE(CloseHandle(go));
}

TEST(Events, BadHandlesAndNamesFail) {
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_TRUE(CloseHandle(event));
  const std::pair<const char*, std::function<bool()>> calls[] = {
      {"close twice", [&] { return CloseHandle(event) != FALSE; }},
      {"set closed", [&] { return SetEvent(event) != FALSE; }},
      {"reset closed", [&] { return ResetEvent(event) != FALSE; }},
      {"wait closed", [&] { return WaitForSingleObject(event, 0) != WAIT_FAILED; }},
      {"close null", [] { return CloseHandle(nullptr) != FALSE; }},
  };
  for (const auto& [what, call] : calls) {
    SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(call()) << what;
    EXPECT_EQ(DWORD{ERROR_INVALID_HANDLE}, GetLastError()) << what;
  }

  EXPECT_EQ(nullptr, CreateEventW(nullptr, TRUE, FALSE, u"Global\\Named"));
  EXPECT_EQ(DWORD{ERROR_NOT_SUPPORTED}, GetLastError());
}

struct ThreadProbe {
  DWORD parameterSeen = 0;
  DWORD idInside = 0;
};

DWORD WINAPI RecordThread(LPVOID parameter) {
  auto* probe = static_cast<ThreadProbe*>(parameter);
  probe->parameterSeen = 7;
  probe->idInside = GetCurrentThreadId();
  return 0;
}

TEST(Threads, RunTheRoutineAndSignalTheirHandleAtTheEnd) {
  ThreadProbe probe;
  DWORD id = 0;
  HANDLE thread = CreateThread(nullptr, 0, RecordThread, &probe, 0, &id);
  ASSERT_NE(nullptr, thread);
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, INFINITE));
  EXPECT_EQ(DWORD{7}, probe.parameterSeen);
  EXPECT_EQ(id, probe.idInside);
  EXPECT_NE(GetCurrentThreadId(), id);
  EXPECT_EQ(0u, id % 4);
  EXPECT_EQ(GetCurrentThreadId(), GetCurrentThreadId());

  EXPECT_FALSE(SetEvent(thread));  // a thread is no event
  EXPECT_EQ(DWORD{ERROR_INVALID_HANDLE}, GetLastError());
  EXPECT_TRUE(CloseHandle(thread));

  const DWORD kCreateSuspended = 0x4;  // there is no ResumeThread to wake it
  EXPECT_EQ(nullptr, CreateThread(nullptr, 0, RecordThread, &probe, kCreateSuspended, nullptr));
  EXPECT_EQ(DWORD{ERROR_INVALID_PARAMETER}, GetLastError());
  EXPECT_EQ(nullptr, CreateThread(nullptr, 0, nullptr, &probe, 0, nullptr));
  EXPECT_EQ(DWORD{ERROR_INVALID_PARAMETER}, GetLastError());
}

TEST(CriticalSections, TheHolderMayReenterAndOthersWaitUntilItLeavesAsOftenAsItEntered) {
  CRITICAL_SECTION section;
  InitializeCriticalSection(&section);
  EnterCriticalSection(&section);
  EnterCriticalSection(&section);  // the holder enters again without blocking

  bool entered = false;
  std::thread other([&] {
    EnterCriticalSection(&section);
    entered = true;
    LeaveCriticalSection(&section);
  });
  LeaveCriticalSection(&section);
  // Once left, still held: a non-holder's leave changes nothing either.
  std::thread([&] { LeaveCriticalSection(&section); }).join();
  EXPECT_FALSE(entered);
  LeaveCriticalSection(&section);
  other.join();
  EXPECT_TRUE(entered);
  DeleteCriticalSection(&section);
}

TEST(CriticalSections, KeepIncrementsOfManyThreadsApart) {
  CRITICAL_SECTION section;
  InitializeCriticalSection(&section);
  long counter = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 20000; ++i) {
        EnterCriticalSection(&section);
        const long seen = counter;
        counter = seen + 1;
        LeaveCriticalSection(&section);
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(80000, counter);
  DeleteCriticalSection(&section);
}

TEST(Environment, ValuesFollowTheBufferProtocol) {
  ASSERT_TRUE(SetEnvironmentVariableW(u"TSR_PLATFORM_TEST", u"caf\u00E9"));
  WCHAR small[4];
  EXPECT_EQ(5u, GetEnvironmentVariableW(u"TSR_PLATFORM_TEST", small, 4));  // needed, terminator included
  WCHAR buffer[5];
  ASSERT_EQ(4u, GetEnvironmentVariableW(u"TSR_PLATFORM_TEST", buffer, 5));
  EXPECT_EQ(std::u16string_view(u"caf\u00E9"), std::u16string_view(buffer));
  EXPECT_EQ(0u, GetEnvironmentVariableW(u"tsr_platform_test", buffer, 5));  // letter case counts
  EXPECT_EQ(DWORD{ERROR_ENVVAR_NOT_FOUND}, GetLastError());

  ASSERT_TRUE(SetEnvironmentVariableW(u"TSR_PLATFORM_TEST", u""));
  SetLastError(ERROR_ACCESS_DENIED);
  EXPECT_EQ(0u, GetEnvironmentVariableW(u"TSR_PLATFORM_TEST", buffer, 5));
  EXPECT_EQ(DWORD{ERROR_SUCCESS}, GetLastError());  // set, but empty

  ASSERT_TRUE(SetEnvironmentVariableW(u"TSR_PLATFORM_TEST", nullptr));
  EXPECT_EQ(0u, GetEnvironmentVariableW(u"TSR_PLATFORM_TEST", buffer, 5));
  EXPECT_EQ(DWORD{ERROR_ENVVAR_NOT_FOUND}, GetLastError());

  EXPECT_FALSE(SetEnvironmentVariableW(u"A=B", u"x"));
  EXPECT_EQ(DWORD{ERROR_INVALID_PARAMETER}, GetLastError());
  EXPECT_FALSE(SetEnvironmentVariableW(u"", u"x"));
  EXPECT_EQ(DWORD{ERROR_INVALID_PARAMETER}, GetLastError());
}

TEST(StructuredExceptions, TheThreadNamingNotificationReturnsAndOthersEndTheProcess) {
  const char* name = "Worker";
  const ULONG_PTR arguments[3] = {0x1000, reinterpret_cast<ULONG_PTR>(name), 0xFFFFFFFF};
  RaiseException(0x406D1388, 0, 3, arguments);  // no debugger listens; the call comes back

  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(RaiseException(0xE0000001, 0, 0, nullptr), "Unhandled exception 0xe0000001");
}

}  // namespace
