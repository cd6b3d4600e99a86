#include "communication/cec_gpib.h"
#include "communication/communication.h"
#include "communication/nat_gpib.h"
#include "communication/rs232.h"
#include "model/errors.h"

std::unique_ptr<TCommunication> CreateCommunication(std::int32_t kind) {
  switch (kind) {
    case RS232: return std::make_unique<TRS232>();
    case CEC_GPIB: return std::make_unique<TCECGPIB>();
    case NAT_GPIB: return std::make_unique<TNATGPIB>();
    default: throw EReadError(InvalidDeviceRecordText);
  }
}
