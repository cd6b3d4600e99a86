// The NI-488.2 entry points (src/platform/ni488_api.h). Every call sets the calling
// thread's status (ThreadIbsta, ThreadIberr, ThreadIbcntl) and the global variables
// ibsta, iberr and ibcntl, and logs one line. Board descriptors are the board numbers
// 0..31 of present boards; ibdev hands out device descriptors from 32 up (the lowest
// free one).
#include <cctype>
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

// Status of the device calls ibwrt, ibrd and ibrsp before they reach an instrument:
// 0 when the descriptor is an open device, else the failed call's ibsta.
int CheckDevice(const TTarget& target) {
  if (!target.Known) return Finish(ERR, EDVR);
  if (target.Device == nullptr) return Finish(ERR, EARG);  // board-level I/O
  return 0;
}

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
  TBus& bus = TBus::Get();
  const auto lock = bus.Lock();
  const TTarget target = Resolve(bus, ud);
  const bool valid = count >= 0 && (buffer != nullptr || count == 0);
  const std::string_view bytes =
      valid && count > 0 ? std::string_view(static_cast<const char*>(buffer), count) : "";
  int status = CheckDevice(target);
  if (status == 0) {
    TInstrument* instrument = bus.Find(TBusKind::NI, target.Board, target.Device->Address);
    if (!valid) {
      status = Finish(ERR, EARG);
    } else if (instrument == nullptr) {
      status = Finish(ERR, ENOL);
    } else if (!instrument->Listener) {
      status = Finish(ERR | TIMO, EABO);
    } else {
      instrument->Accept(bytes, target.Device->Eot);
      status = Finish(CMPL, 0, count);
    }
  }
  bus.Log.Add(Words("ibwrt", ud, QuoteBytes(bytes), count, "->", Hex4(status)));
  return status;
}

// Ends with END at the reply's EOI, with CMPL alone when count bytes came first, and
// with ERR|TIMO (iberr 6, ibcntl = the bytes read) when the instrument falls silent.
GPIBSIM_EXPORT int ibrd(int ud, void* buffer, long count) {
  TBus& bus = TBus::Get();
  const auto lock = bus.Lock();
  const TTarget target = Resolve(bus, ud);
  int status = CheckDevice(target);
  if (status == 0) {
    TInstrument* instrument = bus.Find(TBusKind::NI, target.Board, target.Device->Address);
    long received = 0;
    if (count < 0 || (buffer == nullptr && count > 0)) {
      status = Finish(ERR, EARG);
    } else if (instrument == nullptr || !instrument->Talker) {
      status = Finish(ERR | TIMO, EABO);
    } else {
      const TTalkEnd end =
          instrument->Talk(static_cast<char*>(buffer), count, received, nullptr);
      status = end == TTalkEnd::SILENCE ? Finish(ERR | TIMO, EABO, received)
               : end == TTalkEnd::EOI   ? Finish(CMPL | END, 0, received)
                                        : Finish(CMPL, 0, received);
    }
  }
  bus.Log.Add(Words("ibrd", ud, count, "->", Hex4(status)));
  return status;
}

// The status byte; the poll clears its RQS bit (0x40). No instrument: a time-out.
GPIBSIM_EXPORT int ibrsp(int ud, char* poll) {
  TBus& bus = TBus::Get();
  const auto lock = bus.Lock();
  const TTarget target = Resolve(bus, ud);
  int status = CheckDevice(target);
  if (status == 0) {
    TInstrument* instrument = bus.Find(TBusKind::NI, target.Board, target.Device->Address);
    if (poll == nullptr) {
      status = Finish(ERR, EARG);
    } else if (instrument == nullptr) {
      status = Finish(ERR | TIMO, EABO);
    } else {
      *poll = static_cast<char>(instrument->Poll());
      status = Finish(CMPL);
    }
  }
  bus.Log.Add(Words("ibrsp", ud, "->", Hex4(status)));
  return status;
}

GPIBSIM_EXPORT int ibtmo(int ud, int code) {
  TBus& bus = TBus::Get();
  const auto lock = bus.Lock();
  const TTarget target = Resolve(bus, ud);
  int status = 0;
  if (!target.Known) {
    status = Finish(ERR, EDVR);
  } else if (code < 0 || code > 17) {
    status = Finish(ERR, EARG);
  } else {
    if (target.Device != nullptr) target.Device->TimeOutCode = code;
    status = Finish(CMPL);
  }
  bus.Log.Add(Words("ibtmo", ud, code, "->", Hex4(status)));
  return status;
}

GPIBSIM_EXPORT int ibeot(int ud, int eot) {
  TBus& bus = TBus::Get();
  const auto lock = bus.Lock();
  const TTarget target = Resolve(bus, ud);
  if (target.Device != nullptr) target.Device->Eot = eot != 0;
  const int status = target.Known ? Finish(CMPL) : Finish(ERR, EDVR);
  bus.Log.Add(Words("ibeot", ud, eot, "->", Hex4(status)));
  return status;
}

// Offline (0) closes a device descriptor; a board stays present and usable.
GPIBSIM_EXPORT int ibonl(int ud, int online) {
  TBus& bus = TBus::Get();
  const auto lock = bus.Lock();
  const TTarget target = Resolve(bus, ud);
  if (target.Device != nullptr && online == 0) bus.NiDevices.erase(ud);
  const int status = target.Known ? Finish(CMPL) : Finish(ERR, EDVR);
  bus.Log.Add(Words("ibonl", ud, online, "->", Hex4(status)));
  return status;
}

// The listener flag is 1 when an instrument is at pad on the descriptor's board.
GPIBSIM_EXPORT int ibln(int ud, int pad, int sad, short* listener) {
  TBus& bus = TBus::Get();
  const auto lock = bus.Lock();
  const TTarget target = Resolve(bus, ud);
  int status = 0;
  if (!target.Known) {
    status = Finish(ERR, EDVR);
  } else if (pad < 0 || pad > 30 || !ValidSecondary(sad) || listener == nullptr) {
    status = Finish(ERR, EARG);
  } else {
    *listener = bus.Find(TBusKind::NI, target.Board, pad) != nullptr ? 1 : 0;
    status = Finish(CMPL);
  }
  bus.Log.Add(Words("ibln", ud, pad, sad, "->", Hex4(status)));
  return status;
}

// Interface clear: a board-level call; NI instruments keep their messages and replies.
GPIBSIM_EXPORT int ibsic(int ud) {
  TBus& bus = TBus::Get();
  const auto lock = bus.Lock();
  const TTarget target = Resolve(bus, ud);
  const int status = !target.Known           ? Finish(ERR, EDVR)
                     : target.Device != nullptr ? Finish(ERR, EARG)
                                                : Finish(CMPL);
  bus.Log.Add(Words("ibsic", ud, "->", Hex4(status)));
  return status;
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
