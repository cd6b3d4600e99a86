// The seeds of the text and byte harnesses: typical texts of each dialog, instrument
// responses and files of each setting, number texts, numbers to format, and simulator
// descriptions and serial instrument rules, each in its harness's input layout (the
// harnesses' comments).
#include <cstdint>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "seeds/seed_writer.h"

namespace {

// Settings bytes, then a text.
std::string Input(std::initializer_list<std::uint8_t> head, const std::string& text) {
  return std::string(head.begin(), head.end()) + text;
}

void WriteAll(const TSeedWriter& seeds, const std::string& harness,
              const std::vector<std::string>& inputs) {
  int n = 0;
  for (const std::string& input : inputs) seeds.Write(harness, "seed" + std::to_string(++n), input);
}

void Calculate(const TSeedWriter& seeds) {
  WriteAll(seeds, "calculate_expression",
           {Input({0x01}, "i*2+1"), Input({0x03}, "sin(f)+cos(af[1])-tan(0.5)"),
            Input({0x00}, "float(0x1F|0x3&0x7^~0x1>>1)"), Input({0x45}, "ai[n]-ai[2]*2**3"),
            Input({0x19}, "-af[3]**2/(f+1)"), Input({0x01}, "exp(1)/ln(2)+log(1000)"),
            Input({0x21}, "float(binary(i*2)&0xF<<2)+1"), Input({0x01}, "sqrt(abs(-16))+((1))"),
            Input({0x41}, "1/(i-i)"), Input({0x01}, "1.5e-3*~0x0F"), Input({0x01}, "s+1")});
}

void Condition(const TSeedWriter& seeds) {
  const std::string nul(1, '\0');
  WriteAll(seeds, "condition",
           {Input({0, 1, 0}, "5" + nul + "3"), Input({2, 0x80, 0}, "2.5"),
            Input({3, 0, 0}, "text"), Input({4, 3, 2}, "30"), Input({0x80, 0, 0x10}, "7"),
            Input({5, 4, 4}, "-1E3"), Input({6, 0, 1}, nul + "b c"),
            Input({0x83, 2, 0x21}, "abc"), Input({1, 2, 0}, "-2147483648")});
}

void Concatenate(const TSeedWriter& seeds) {
  WriteAll(seeds, "concatenate",
           {Input({0x00, 0}, "i={i} f={f}"), Input({0x21, 2}, "{af[2]}/{ai[n]}"),
            Input({0x40, 3}, "{f}|{I}|{ s }"), Input({0x08, 0}, "{nope}{i}"),
            Input({0x90, 0}, "}{i}{"), Input({0x03, 0xFF}, "{as[n]}{{x}}"),
            Input({0x10, 18}, "  {f}  ")});
}

void ReadFile(const TSeedWriter& seeds) {
  WriteAll(seeds, "read_file_command",
           {Input({0x02, 9, ',', 0}, "1.5, 2.5\r\n3.5\n"),
            Input({0x2A, 9, ';', '|'}, "1.0D+03;x=7V|2"),
            Input({0x00, 3, ';', 0}, "a b;c d"), Input({0x04, 3, ';', 0}, "a b;c d"),
            Input({0x11, 1, 0, 0}, "1 2 3 4"), Input({0x01, 4, 0, 0}, ""),
            Input({0x01, 4, 0, 0}, "12,5 x -7\t99999999999")});
}

void ReadResponse(const TSeedWriter& seeds) {
  const std::string raw("\x12\x34\x56\x78\x9A\xBC\xDE\xF0", 8);
  WriteAll(seeds, "read_response",
           {Input({0x24, 100, 1, ';', 13, 0, 0}, "  +12.5E+2 V\r\n"),
            Input({0x20, 100, 1, ';', 13, 0, 0}, "1.0D+03"),
            Input({0x00, 100, 1, ';', 13, 0, 0}, " \tOK 1\r2 \n"),
            Input({0x02, 100, 1, ';', 10, 0, 0}, "V=-7,5"),
            Input({0x0A, 2, 1, 0, 0, 0, 0}, raw), Input({0x1C, 4, 1, 0, 0, 0, 0}, raw),
            Input({0x45, 10, 3, ',', 10, 0, 6}, "1.5,2.5,3.5\n"),
            Input({0x0B, 2, 4, 0, 0, 0, 8}, raw), Input({0x1F, 4, 2, 0, 0, 0, 4}, raw),
            Input({0xC1, 10, 3, ' ', 13, 10, 7}, "4 5 6 7\r\n"),
            Input({0x01, 10, 4, ';', 13, 0, 2}, "a;b;;c")});
}

void NumberTexts(const TSeedWriter& seeds) {
  WriteAll(seeds, "text_to_number",
           {Input({0}, "0"), Input({0}, "-12"), Input({0}, "+7"), Input({0}, "2147483647"),
            Input({0}, "-2147483648"), Input({0}, "2147483648"), Input({0}, "1.5E-3"),
            Input({1}, "1,5"), Input({0}, "1e308"), Input({0}, "1e309"), Input({0}, "1e-400"),
            Input({0}, "4.9E-324"), Input({0}, ".5"), Input({0}, "5."), Input({0}, "-0.0e+0"),
            Input({0}, "0x1F"), Input({0}, "inf"), Input({0}, " 1")});
}

std::string Number(double value, std::uint8_t notation, std::int8_t decimals) {
  std::string bytes(10, '\0');
  std::memcpy(bytes.data(), &value, sizeof value);
  bytes[8] = static_cast<char>(notation);
  bytes[9] = static_cast<char>(decimals);
  return bytes;
}

std::string Float(float value, std::uint8_t notation, std::int8_t decimals) {
  std::string bytes = Number(0, notation | 0x80, decimals);
  std::memcpy(bytes.data(), &value, sizeof value);
  return bytes;
}

void FormatNumbers(const TSeedWriter& seeds) {
  WriteAll(seeds, "format_number",
           {Number(0, 0, 0), Number(1234.5678, 0, 0), Number(-0.000012345, 0, 0),
            Number(1e20, 0, 0), Number(2.5, 1, 2), Number(12345678.9, 1, 3),
            Number(0.125, 1, 2), Number(1234.5, 2, 2), Number(-9.995, 2, 2),
            Number(5e-324, 2, 18), Number(1.7976931348623157e308, 0, 0), Float(0.1f, 0, 0),
            Float(3.4e38f, 1, 18), Number(1.0 / 0.0, 0, 0), Number(0.0 / 0.0, 1, 1)});
}

void SimulatorDescriptions(const TSeedWriter& seeds, const std::filesystem::path& demoSim) {
  std::ifstream demo(demoSim, std::ios::binary);
  seeds.Write("gpibsim_config", "demo.sim", std::string(std::istreambuf_iterator<char>(demo), {}));
  WriteAll(seeds, "gpibsim_config",
           {"cec-board 1 noscan\nni-board 2\ninstrument cec 1 3\n  terminator none\n"
            "  input-terminator 13\n  eoi off\n  talker off\n  listener on\n"
            "  reply A = partial 3 abcdef\n  reply B = silent\n",
            "ni-board 0\ninstrument ni 0 30\n"
            "  reply SEQ? = numbers 5 \\s\\t\\x2C counter -1 0.5\n"
            "  reply W? = binary float32 le 1.5 -2e-3 0x1p3\n"
            "  reply N? = number noise 42 0.5 # a comment\n"
            "  reply R? = numbers 3 ; ramp 0 1 2\r\n"
            "  reply T? = text #not a comment\n  status 0xFF\n",
            "instrument ni 0 1\n  reply X = binary int8 be -128 255\n"
            "  reply Y = binary int32 le -2147483648 4294967295\n  reply Z = number constant 7\n"});
}

// The serial instrument's rules: the demo's, beside the bus's demo description.
void SerialRules(const TSeedWriter& seeds, const std::filesystem::path& demoSim) {
  std::ifstream demo(demoSim.parent_path().parent_path() / "serialsim" / "demo.rules",
                     std::ios::binary);
  seeds.Write("serialsim_rules", "demo.rules",
              std::string(std::istreambuf_iterator<char>(demo), {}));
  WriteAll(seeds, "serialsim_rules",
           {"terminator 13 10\nidn ACME,THERMO,0,1.0 # kept\r\n"
            "reply MEAS VOLT? = number sine 2.5 40 + noise 7 0.01\n"
            "reply A=B = text x = y\nreply RESET = silent\n",
            "terminator none\nreply C? = fixed 15 counter -1e300 1e300 + ramp 0 1 3\n"
            "reply K? = fixed 0 constant 2.5 # a comment\n"});
}

}  // namespace

// Mode, then three settings bytes (harnesses/transfer_text.cpp), then the text.
void TransferTexts(const TSeedWriter& seeds) {
  const std::string output = "OutputType=5\r\nNumberOfSeries=";
  WriteAll(seeds, "transfer_text",
           {Input({0, 0, 0, 0}, output + "2\r\na\tb\tc\td\r\n\t\t1\t2\r\n\t\t3\t4\r\n"),
            Input({0, 0, 0, 0},
                  "OutputType=4\r\nNumberOfSeries=1\r\nX\tY\r\n0\t1.5\r\n1\t2.5\r\n2\t3.5\r\n"),
            Input({0, 0, 0, 0},
                  "OutputType=5\nNumberOfSeries=3\nx\ty\tx\ty\tx\ty\n1\t2\t3\t4\t5\t6\n7\t8\n"),
            Input({0, 0, 0, 0}, output + "1\r\nx\ty\r\n1\t-2.5E-3\r\n3\t\r\n"),
            Input({0, 0, 0, 0}, "OutputType=6\r\nNumberOfSeries=0\r\nx\ty\r\n1\t2\r\n"),
            Input({0x01, ',', 2, 0}, "1,2\r\n2,4\r\n3,6\r\n4,8\r\n5,10\r\n"),
            Input({0x05, ',', 0, 0}, "1,2,3\n4,5,6\n"),
            Input({0x09, '\t', 1, 2}, "0\t1\t2\n3\t4\n5\tx\t7\n"),
            Input({0x01, 0, 0, 0}, "1,2"),
            Input({0x02, 3, 0, 0}, "  5 1234\r\n123 5678\r\n"),
            Input({0x0A, 2, 6, 4}, "abcdefgh\nab\n 1 2 3 4\n")});
}

void MakeTextSeeds(const TSeedWriter& seeds, const std::filesystem::path& demoSim) {
  Calculate(seeds);
  Condition(seeds);
  Concatenate(seeds);
  ReadFile(seeds);
  ReadResponse(seeds);
  NumberTexts(seeds);
  FormatNumbers(seeds);
  SimulatorDescriptions(seeds, demoSim);
  SerialRules(seeds, demoSim);
  TransferTexts(seeds);
}
