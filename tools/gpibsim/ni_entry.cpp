// The NI-488.2 entry points (src/platform/ni488_api.h). Every call sets the calling
// thread's status (ThreadIbsta, ThreadIberr, ThreadIbcntl) and the global variables
// ibsta, iberr and ibcntl, and logs one line. Board descriptors are the board numbers
// 0..31 of present boards; ibdev hands out device descriptors from 32 up (the lowest
// free one).
#include <cctype>
#include <chrono>
#include <thread>
#include <type_traits>

#include "bus.h"
#include "export.h"
#include "platform/ni488_api.h"

using namespace gpibsim;

namespace {

// ibsta bits and iberr values.
constexpr int CMPL = 0x0100, END = niEND, TIMO = niTIMO, ERR = niERR;
constexpr int EDVR = 1, ENOL = 2, EARG = 4, EABO = niEABO, ENEB = 7;

constexpr int FirstDevice = 32;
constexpr int MaxDevices = 1024;

struct TStatus {
  int Ibsta = 0;
  int Iberr = 0;
  long Ibcntl = 0;
};

thread_local TStatus ThreadStatus;

}  // namespace

extern "C" {
GPIBSIM_EXPORT int ibsta = 0;
GPIBSIM_EXPORT int iberr = 0;
GPIBSIM_EXPORT long ibcntl = 0;
}

namespace {

// Sets the status of a call (iberr 0 without ERR) and answers ibsta.
int Finish(int status, int error = 0, long count = 0) {
  ThreadStatus = {status, (status & ERR) != 0 ? error : 0, count};
  ibsta = ThreadStatus.Ibsta;
  iberr = ThreadStatus.Iberr;
  ibcntl = ThreadStatus.Ibcntl;
  return status;
}

// A descriptor as the calls see it.
struct TTarget {
  bool Known = false;
  int Board = -1;
  TNiDevice* Device = nullptr;  // null for a board descriptor
};

TTarget Resolve(TBus& bus, int ud) {
  if (ud >= 0 && ud < FirstDevice) return {bus.NiBoardPresent(ud), ud, nullptr};
  const auto found = bus.NiDevices.find(ud);
  if (found == bus.NiDevices.end()) return {};
  return {true, found->second.Board, &found->second};
}

bool ValidSecondary(int sad) { return sad == 0 || (sad >= 0x60 && sad <= 0x7E); }

// A call on a descriptor, under the bus lock: call answers the status from the bus and
// the resolved descriptor; the log line is the name, the descriptor, the arguments given
// and the status.
template <typename TCall, typename... TArgument>
int OnDescriptor(const char* name, int ud, TCall call, const TArgument&... arguments) {
  TBus& bus = TBus::Get();
  const auto lock = bus.Lock();
  const int status = call(bus, Resolve(bus, ud));
  bus.Log.Add(Words(name, ud, arguments..., "->", Hex4(status)));
  return status;
}

// The device calls ibwrt, ibrd and ibrsp: an unknown descriptor and a board answer
// their errors; an open device's call answers the status from the instrument at its
// address (null when there is none) and the device.
template <typename TCall>
int OnDevice(TBus& bus, const TTarget& target, TCall call) {
  if (!target.Known) return Finish(ERR, EDVR);
  if (target.Device == nullptr) return Finish(ERR, EARG);  // board-level I/O
  return call(bus.Find(TBusKind::NI, target.Board, target.Device->Address), *target.Device);
}

// The calls that only need a known descriptor.
int Completion(const TTarget& target) { return target.Known ? Finish(CMPL) : Finish(ERR, EDVR); }

// The board number of "GPIB<n>" (any case), or -1.
int BoardOfName(std::string_view name) {
  if (name.size() < 5 || name.size() > 6) return -1;
  for (int i = 0; i < 4; ++i)
    if (std::toupper(static_cast<unsigned char>(name[i])) != "GPIB"[i]) return -1;
  int board = 0;
  for (const char c : name.substr(4)) {
    if (c < '0' || c > '9') return -1;
    board = board * 10 + (c - '0');
  }
  return board < FirstDevice ? board : -1;
}

// A slow instrument: the read first sleeps for the instrument's reply delay, with the bus
// unlocked so that other calls (another thread's, another board's) go on meanwhile.
void ReplyDelay(int ud) {
  int delay = 0;
  {
    TBus& bus = TBus::Get();
    const auto lock = bus.Lock();
    const TTarget target = Resolve(bus, ud);
    if (target.Device != nullptr)
      if (const TInstrument* instrument =
              bus.Find(TBusKind::NI, target.Board, target.Device->Address))
        delay = instrument->ReplyDelayMs;
  }
  if (delay > 0) std::this_thread::sleep_for(std::chrono::milliseconds(delay));
}

}  // namespace

extern "C" {

GPIBSIM_EXPORT int ThreadIbsta(void) { return ThreadStatus.Ibsta; }
GPIBSIM_EXPORT int ThreadIberr(void) { return ThreadStatus.Iberr; }
GPIBSIM_EXPORT long ThreadIbcntl(void) { return ThreadStatus.Ibcntl; }

GPIBSIM_EXPORT int ibdev(int board, int pad, int sad, int tmo, int eot, int eos) {
  TBus& bus = TBus::Get();
  const auto lock = bus.Lock();
  int ud = -1;
  if (!bus.NiBoardPresent(board)) {
    Finish(ERR, ENEB);
  } else if (pad < 0 || pad > 30 || !ValidSecondary(sad) || tmo < 0 || tmo > 17) {
    Finish(ERR, EARG);
  } else {
    for (int free = FirstDevice; free < FirstDevice + MaxDevices && ud < 0; ++free)
      if (bus.NiDevices.count(free) == 0) ud = free;
    if (ud < 0) {
      Finish(ERR, EDVR);
    } else {
      bus.NiDevices[ud] = {board, pad, tmo, eot != 0};
      Finish(CMPL);
    }
  }
  bus.Log.Add(Words("ibdev", board, pad, sad, tmo, eot, eos, "->", ud));
  return ud;
}

GPIBSIM_EXPORT int ibfind(const char* name) {
  TBus& bus = TBus::Get();
  const auto lock = bus.Lock();
  const std::string_view text = name != nullptr ? name : "";
  const int board = BoardOfName(text);
  int ud = -1;
  if (board < 0) {
    Finish(ERR, EDVR);
  } else if (!bus.NiBoardPresent(board)) {
    Finish(ERR, ENEB);
  } else {
    ud = board;
    Finish(CMPL);
  }
  bus.Log.Add(Words("ibfind", QuoteBytes(text), "->", ud));
  return ud;
}

GPIBSIM_EXPORT int ibwrt(int ud, const void* buffer, long count) {
  const bool valid = count >= 0 && (buffer != nullptr || count == 0);
  const std::string_view bytes =
      valid && count > 0 ? std::string_view(static_cast<const char*>(buffer), count) : "";
  const auto write = [&](TBus& bus, const TTarget& target) {
    return OnDevice(bus, target, [&](TInstrument* instrument, const TNiDevice& device) {
      if (!valid) return Finish(ERR, EARG);
      if (instrument == nullptr) return Finish(ERR, ENOL);
      if (!instrument->Listener) return Finish(ERR | TIMO, EABO);
      instrument->Accept(bytes, device.Eot);
      return Finish(CMPL, 0, count);
    });
  };
  return OnDescriptor("ibwrt", ud, write, QuoteBytes(bytes), count);
}

// Ends with END at the reply's EOI, with CMPL alone when count bytes came first, and
// with ERR|TIMO (iberr 6, ibcntl = the bytes read) when the instrument falls silent.
GPIBSIM_EXPORT int ibrd(int ud, void* buffer, long count) {
  ReplyDelay(ud);
  const auto read = [&](TBus& bus, const TTarget& target) {
    return OnDevice(bus, target, [&](TInstrument* instrument, const TNiDevice&) {
      if (count < 0 || (buffer == nullptr && count > 0)) return Finish(ERR, EARG);
      if (instrument == nullptr || !instrument->Talker) return Finish(ERR | TIMO, EABO);
      long received = 0;
      const TTalkEnd end = instrument->Talk(static_cast<char*>(buffer), count, received, nullptr);
      return end == TTalkEnd::SILENCE ? Finish(ERR | TIMO, EABO, received)
             : end == TTalkEnd::EOI   ? Finish(CMPL | END, 0, received)
                                      : Finish(CMPL, 0, received);
    });
  };
  return OnDescriptor("ibrd", ud, read, count);
}

// The status byte; the poll clears its RQS bit (0x40). No instrument: a time-out.
GPIBSIM_EXPORT int ibrsp(int ud, char* poll) {
  const auto serialPoll = [&](TBus& bus, const TTarget& target) {
    return OnDevice(bus, target, [&](TInstrument* instrument, const TNiDevice&) {
      if (poll == nullptr) return Finish(ERR, EARG);
      if (instrument == nullptr) return Finish(ERR | TIMO, EABO);
      *poll = static_cast<char>(instrument->Poll());
      return Finish(CMPL);
    });
  };
  return OnDescriptor("ibrsp", ud, serialPoll);
}

GPIBSIM_EXPORT int ibtmo(int ud, int code) {
  const auto timeOut = [&](TBus&, const TTarget& target) {
    if (!target.Known) return Finish(ERR, EDVR);
    if (code < 0 || code > 17) return Finish(ERR, EARG);
    if (target.Device != nullptr) target.Device->TimeOutCode = code;
    return Finish(CMPL);
  };
  return OnDescriptor("ibtmo", ud, timeOut, code);
}

GPIBSIM_EXPORT int ibeot(int ud, int eot) {
  const auto endOrIdentify = [&](TBus&, const TTarget& target) {
    if (target.Device != nullptr) target.Device->Eot = eot != 0;
    return Completion(target);
  };
  return OnDescriptor("ibeot", ud, endOrIdentify, eot);
}

// Offline (0) closes a device descriptor; a board stays present and usable.
GPIBSIM_EXPORT int ibonl(int ud, int online) {
  const auto onLine = [&](TBus& bus, const TTarget& target) {
    if (target.Device != nullptr && online == 0) bus.NiDevices.erase(ud);
    return Completion(target);
  };
  return OnDescriptor("ibonl", ud, onLine, online);
}

// The listener flag is 1 when an instrument is at pad on the descriptor's board.
GPIBSIM_EXPORT int ibln(int ud, int pad, int sad, short* listener) {
  const auto findListener = [&](TBus& bus, const TTarget& target) {
    if (!target.Known) return Finish(ERR, EDVR);
    if (pad < 0 || pad > 30 || !ValidSecondary(sad) || listener == nullptr)
      return Finish(ERR, EARG);
    *listener = bus.Find(TBusKind::NI, target.Board, pad) != nullptr ? 1 : 0;
    return Finish(CMPL);
  };
  return OnDescriptor("ibln", ud, findListener, pad, sad);
}

// Interface clear: a board-level call; NI instruments keep their messages and replies.
GPIBSIM_EXPORT int ibsic(int ud) {
  const auto clear = [](TBus&, const TTarget& target) {
    return target.Known && target.Device != nullptr ? Finish(ERR, EARG) : Completion(target);
  };
  return OnDescriptor("ibsic", ud, clear);
}

}  // extern "C"

// The exported functions have exactly the types the loader expects.
static_assert(std::is_same_v<decltype(&ibdev), ni_ibdev_fn>);
static_assert(std::is_same_v<decltype(&ibfind), ni_ibfind_fn>);
static_assert(std::is_same_v<decltype(&ibwrt), ni_ibwrt_fn>);
static_assert(std::is_same_v<decltype(&ibrd), ni_ibrd_fn>);
static_assert(std::is_same_v<decltype(&ibrsp), ni_ibrsp_fn>);
static_assert(std::is_same_v<decltype(&ibtmo), ni_ibtmo_fn>);
static_assert(std::is_same_v<decltype(&ibeot), ni_ibeot_fn>);
static_assert(std::is_same_v<decltype(&ibonl), ni_ibonl_fn>);
static_assert(std::is_same_v<decltype(&ibln), ni_ibln_fn>);
static_assert(std::is_same_v<decltype(&ibsic), ni_ibsic_fn>);
static_assert(std::is_same_v<decltype(&ThreadIbsta), ni_thread_status_fn>);
static_assert(std::is_same_v<decltype(&ThreadIberr), ni_thread_status_fn>);
static_assert(std::is_same_v<decltype(&ThreadIbcntl), ni_thread_count_fn>);
