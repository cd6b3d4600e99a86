// The CEC entry points (src/platform/cec_api.h). Each call logs one line. A board that
// is not configured present answers 1 to every call once selected, except the board
// query 204, which answers -1 so that no absent board passes for present.
#include <cstring>
#include <type_traits>

#include "bus.h"
#include "export.h"
#include "platform/cec_api.h"

using namespace gpibsim;

extern "C" {

GPIBSIM_EXPORT int cec_presence(void) {
  TBus& bus = TBus::Get();
  const auto lock = bus.Lock();
  const int present = bus.CecBoards.empty() ? 0 : 1;
  bus.Log.Add(Words("cec_presence ->", present));
  return present;
}

GPIBSIM_EXPORT int cec_select_board(int board) {
  TBus& bus = TBus::Get();
  const auto lock = bus.Lock();
  bus.SelectedCecBoard = board;
  bus.Log.Add(Words("cec_select_board", board));
  return bus.CecBoard(board) != nullptr ? cecOK : cecERROR;
}

// 204: the selected board's number; 0: 1 when the board can scan for instruments.
GPIBSIM_EXPORT int cec_board_query(int what) {
  TBus& bus = TBus::Get();
  const auto lock = bus.Lock();
  const TCecBoard* board = bus.CecBoard(bus.SelectedCecBoard);
  int result = 0;
  if (board == nullptr)
    result = what == 204 ? -1 : cecERROR;
  else if (what == 204)
    result = board->Number;
  else if (what == 0)
    result = board->NoScan ? 0 : 1;
  bus.Log.Add(Words("cec_board_query", what, "->", result));
  return result;
}

// The level is taken as given (0 = system controller); the board ends unaddressed.
GPIBSIM_EXPORT int cec_initialize(int board, int level) {
  TBus& bus = TBus::Get();
  const auto lock = bus.Lock();
  TCecBoard* found = bus.CecBoard(board);
  if (found != nullptr) found->Unaddress();
  bus.Log.Add(Words("cec_initialize", board, level));
  return found != nullptr ? cecOK : cecERROR;
}

GPIBSIM_EXPORT int cec_receive(char* buffer, int max, int* count, int* status) {
  TBus& bus = TBus::Get();
  const auto lock = bus.Lock();
  TCecBoard* board = bus.CecBoard(bus.SelectedCecBoard);
  long received = 0;
  int result = cecERROR;
  if (board != nullptr && max >= 0 && (buffer != nullptr || max == 0))
    result = board->Receive(buffer, max, received);
  if (count != nullptr) *count = static_cast<int>(received);
  if (status != nullptr) *status = result;
  bus.Log.Add(Words("cec_receive", max, "->", received, result));
  return result;
}

// Each END character arrives as a signed byte widened to int; its low byte counts.
GPIBSIM_EXPORT int cec_set_end_chars(int first, int second) {
  TBus& bus = TBus::Get();
  const auto lock = bus.Lock();
  TCecBoard* board = bus.CecBoard(bus.SelectedCecBoard);
  if (board != nullptr) {
    board->EndCharacters[0] = static_cast<unsigned char>(first);
    board->EndCharacters[1] = static_cast<unsigned char>(second);
  }
  bus.Log.Add(Words("cec_set_end_chars", first, second));
  return board != nullptr ? cecOK : cecERROR;
}

GPIBSIM_EXPORT int cec_set_timeout(int milliseconds) {
  TBus& bus = TBus::Get();
  const auto lock = bus.Lock();
  TCecBoard* board = bus.CecBoard(bus.SelectedCecBoard);
  const bool valid = board != nullptr && milliseconds >= 0;
  if (valid) board->TimeOut = milliseconds;
  bus.Log.Add(Words("cec_set_timeout", milliseconds));
  return valid ? cecOK : cecERROR;
}

GPIBSIM_EXPORT int cec_serial_poll(int address, unsigned char* poll, int* status) {
  TBus& bus = TBus::Get();
  const auto lock = bus.Lock();
  TCecBoard* board = bus.CecBoard(bus.SelectedCecBoard);
  int byte = 0;
  const int result = board != nullptr ? board->SerialPoll(address, byte) : cecERROR;
  if (poll != nullptr) *poll = static_cast<unsigned char>(byte);
  if (status != nullptr) *status = result;
  bus.Log.Add(Words("cec_serial_poll", address, "->", byte, result));
  return result;
}

GPIBSIM_EXPORT int cec_send_bytes(const char* buffer, int length, int eoi, int* status) {
  TBus& bus = TBus::Get();
  const auto lock = bus.Lock();
  TCecBoard* board = bus.CecBoard(bus.SelectedCecBoard);
  const bool valid = length >= 0 && (buffer != nullptr || length == 0);
  const std::string_view bytes = valid && length > 0 ? std::string_view(buffer, length) : "";
  const int result = board != nullptr && valid ? board->Send(bytes, eoi != 0) : cecERROR;
  if (status != nullptr) *status = result;
  bus.Log.Add(Words("cec_send_bytes", QuoteBytes(bytes), length, eoi, "->", result));
  return result;
}

// The text ends at its NUL or after max bytes.
GPIBSIM_EXPORT int cec_transmit(const char* text, int max, int* status) {
  TBus& bus = TBus::Get();
  const auto lock = bus.Lock();
  TCecBoard* board = bus.CecBoard(bus.SelectedCecBoard);
  const std::string_view words =
      text != nullptr && max > 0 ? std::string_view(text, strnlen(text, max)) : "";
  const int result = board != nullptr && text != nullptr ? board->Transmit(words) : cecERROR;
  if (status != nullptr) *status = result;
  bus.Log.Add(Words("cec_transmit", QuoteBytes(words), max, "->", result));
  return result;
}

}  // extern "C"

// The exported functions have exactly the types the loader expects.
static_assert(std::is_same_v<decltype(&cec_presence), cec_presence_fn>);
static_assert(std::is_same_v<decltype(&cec_select_board), cec_select_board_fn>);
static_assert(std::is_same_v<decltype(&cec_board_query), cec_board_query_fn>);
static_assert(std::is_same_v<decltype(&cec_initialize), cec_initialize_fn>);
static_assert(std::is_same_v<decltype(&cec_receive), cec_receive_fn>);
static_assert(std::is_same_v<decltype(&cec_set_end_chars), cec_set_end_chars_fn>);
static_assert(std::is_same_v<decltype(&cec_set_timeout), cec_set_timeout_fn>);
static_assert(std::is_same_v<decltype(&cec_serial_poll), cec_serial_poll_fn>);
static_assert(std::is_same_v<decltype(&cec_send_bytes), cec_send_bytes_fn>);
static_assert(std::is_same_v<decltype(&cec_transmit), cec_transmit_fn>);
