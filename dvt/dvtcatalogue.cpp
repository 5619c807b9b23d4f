#include "dvt/dvtcatalogue.h"

#include <cstdio>

#include "core/options.h"
#include "core/paths.h"

// The Korean texts are UTF-8; typos and missing full stops are kept as the
// cases show them.
const DvtTestCase DvtTestCatalogue[kDvtTestCaseCount] = {
    // index, title, fileName,
    //  description,
    //  serialResult,
    //  otaResult,
    //  initiation, additional, typicalError, commandCode
    {0, "BBCB Download", "bbcb.bin",
     "",
     "",
     "N/A",
     "SERIAL", "", 0x8003001B, kCmdIrdetoDevProgram},
    {1, "Development Code Reject", "Dev002.sdl",
     "유효한 key 가 로딩되지 않은 상태에서 Development key 로 sign 된 이미지를 시도해 본다.",
     "Decoder 가 다운로드를 거부하고 오류 메세지가 뜬다.",
     "N/A",
     "SERIAL", "", 0x80000B0F, kCmdFileDownload},
    {2, "Development Key Reject", "Devkey.dnl",
     "로딩된 key 없이 Development key 다운로드가 시도되어야 한다.",
     "Decoder 가 다운로드를 거부하고 invalid system id 오류가 뜬다.",
     "N/A",
     "SERIAL", "", 0x80000C01, kCmdFileDownload},
    {3, "Non Signed Image Reject", "DvtApp.bin",
     "로딩된 key 가 없는 상태에서 sign 되지 않은 바이너리 이미지를 시도해야 한다.",
     "Decoder 가 메세지를 거부하고 invalid download 오류를 표시한다.",
     "N/A",
     "SERIAL", "", 0x80000D01, kCmdFileDownload},
    {4, "Manufacturer Key Download", "Mankey.dnl",
     "로딩된 key 가 없는 상태에서 Manufacturer key download 가 시도된다.",
     "Download 가 성공적으로 허용된다.",
     "N/A",
     "SERIAL", "", 0, kCmdFileDownload},
    {5, "Incorrect System ID Reject", "Dev002.sdl",
     "Decoder 에 Manufacturer key 가 있는 상태에서 시스템 id 가 부정확한 다운로드를 시도한다.",
     "Decoder 가 다운로드를 거부하고 incorrect system id 오류 메세지를 표시한다.",
     "N/A",
     "SERIAL", "", 0x80000C05, kCmdFileDownload},
    {6, "Development Key Update", "Devkey.dnl",
     "Decoder 에 Manufacturer key 가 있는 상태에서 Development/Customer key download 가 시도된다.",
     "Download 가 성공적으로 허용된다.",
     "N/A",
     "SERIAL", "", 0, kCmdFileDownload},
    {7, "Customer Software Default Variant", "Dev002.sdl",
     "디폴트 variant download 가 있는 Customer software 가 시도된다.",
     "Download 가 성공적으로 허용된다.",
     "N/A",
     "SERIAL", "본 시리얼 다운로드가 완료되면 NVRAM 설정에 의해 IRD 가 OTA 실행하도록 설정될 수 있다.", 0, kCmdFileDownload},
    {8, "Customer Variant Software Reject", "Work004.sdl",
     "Decoder 에 디폴트 variant 가 있는 상태에서 Customer variant download 가 시도된다.",
     "Download 가 거부되고 invalid variant 오류 메세지가 뜬다.",
     "Download 가 거부되고 이 때 메뉴에는 오류 메세지가 뜬다.",
     "SERIAL / MENU", "", 0x80000E00, kCmdFileDownload},
    {9, "Customer Variant Update", "Var_upd.vdl",
     "기본값 variant 에서 테스트 variant 로의 variant 업데이트가 시도된다.",
     "Download 가 성공적으로 허용된다.",
     "N/A",
     "SERIAL", "", 0, kCmdFileDownload},
    {10, "Customer Software Download", "Work004.sdl",
     "standard Customer software download 가 시도된다.",
     "다운로드를 다시 초기화한 후 다운로드가 성공적으로 허용된다.",
     "다운로드를 다시 초기화한 후 다운로드가 성공적으로 허용된다.",
     "SERIAL / FPANEL / MENU", "Signal interruption (see 2.4)", 0, kCmdFileDownload},
    {11, "Same Software Version", "Work004.sdl",
     "Decoder 의 standard Customer software 로 다운로드를 재시도한다.",
     "Download 가 거부되고 같은 소프트웨어 버전 오류 메세지가 뜬다.",
     "Menu download 가 거부되고 이 때 메뉴에 오류 메세지가 뜬다. FP - download 가 거부되고 같은 소프트웨어 버전 오류 메세지가 뜬다.",
     "SERIAL / FPANEL / MENU", "", 0x80000D0C, kCmdFileDownload},
    {12, "Non-Signed Download Reject", "Non_sign.sdl",
     "Sign 되지 않은 다운로드를 시도한다.",
     "Download 가 거부되고 signature 오류 메세지가 뜬다.",
     "Download 가 거부되고 signature 오류 메세지가 뜬다.",
     "SERIAL / FPANEL / MENU", "", 0x80000C05, kCmdFileDownload},
    {13, "Load - 1 Reject", "Load-1.sdl",
     "로드 버전이 Decoder 의 버전보다 하나 낮은 상태에서 다운로드가 시도된다.",
     "Download 가 거부되고 incorrect software version 오류 메세지가 뜬다.",
     "Download 가 거부되고 incorrect software version 오류 메세지가 뜬다.",
     "SERIAL / FPANEL / MENU", "", 0x80000D0B, kCmdFileDownload},
    {14, "Incorrect Hardware Reject", "Wrong_hw.sdl",
     "Decoder 에 부정확한 하드웨어 버전이 있는 상태에서 다운로드가 시도된다.",
     "Download 가 거부되고 incorrect hardware version 오류 메세지가 뜬다.",
     "Download 가 거부되고 incorrect hardware version 오류 메세지가 뜬다.",
     "SERIAL / FPANEL / MENU", "", 0x80000D07, kCmdFileDownload},
    {15, "Incorrect Manufacturer_ID Reject", "Wron_man.sdl",
     "Decoder 에 부정확한 제조사 id 가 있는 상태에서 다운로드가 시도된다.",
     "Download 가 거부되고 incorrect manufacturer id 오류 메세지가 뜬다.",
     "Download 가 거부되고 incorrect manufacturer id 오류 메세지가 뜬다.",
     "SERIAL / FPANEL / MENU", "", 0x80000D06, kCmdFileDownload},
    {16, "Customer Software Non-gte_V3 Reject", "Non_gte3.sdl",
     "다운로드 헤더의 loader_gte_v3 필드가 0 으로 설정된 상태에서 다운로드가 시도된다.",
     "Download 가 거부되고 non-version 3 오류 메세지가 뜬다.",
     "Download 가 거부되고 nonversion 3 오류 메세지가 뜬다.",
     "SERIAL / FPANEL / MENU", "", 0x80000D00, kCmdFileDownload},
    {17, "Bad Start Target Address", "Badstart.sdl",
     "플래쉬로 된 사용가능한 사용자 파티션 앞에 위치한 타겟 어드레스로 다운로드가 잘못 시도된다.",
     "Download 가 거부되고 non-valid target address 오류 메세지가 뜬다.",
     "Download 가 거부되고 non-valid target address 오류 메세지가 뜬다.",
     "SERIAL / FPANEL / MENU", "", 0x80030017, kCmdFileDownload},
    {18, "Bad End Target Address", "Bad_end.sdl",
     "사용가능한 사용자 파티션 이후의 값으로 설정된 부적절한 taget address 로 다운로드를 시도한다.",
     "Download 가 거부되고 non-valid target address 오류 메세지가 뜬다.",
     "Download 가 거부되고 non-valid target address 오류 메세지가 뜬다",
     "SERIAL / FPANEL / MENU", "", 0x80030017, kCmdFileDownload},
    {19, "Non-Printable Characters Reject", "Bad_char.sdl",
     "다운로드 헤더의 Bin2ird version field 에 프린트 불가능한 문자가 있는 상태에서 다운로드가 시행된다.",
     "Download 가 거부되고 nonprintable character 오류 메세지가 뜬다.",
     "Download 가 거부되고 nonprintable character 오류 메세지가 뜬다.",
     "SERIAL / FPANEL / MENU", "", 0x80000D11, kCmdFileDownload},
    {20, "Non-CRC Partition Download", "Noncrc.sdl",
     "non-crc 파티션 데이터를 포함한 다운로드를 시도한다.",
     "Download 가 성공적으로 허용된다.",
     "Download 가 성공적으로 허용된다.",
     "SERIAL / FPANEL / MENU", "Non-CRC tests (see 2.2)", 0, kCmdFileDownload},
    {21, "Load + 100 Reject", "Work110.sdl",
     "Decoder 의 소프트웨어 버전이 99 이상인 상태에서 다운로드를 시도한다.",
     "Download 가 거부되고 invalid software version 오류 메세지가 뜬다.",
     "Download 가 거부되고 invalid software version 오류 메세지가 뜬다.",
     "SERIAL / FPANEL / MENU", "", 0x80000D0B, kCmdFileDownload},
    {22, "Non-Compress/Obscure Download", "Work011.sdl",
     "non-Compressed/Obscured download 를 시도한다.",
     "Download 가 성공적으로 허용된다.",
     "Download 가 성공적으로 허용된다.",
     "SERIAL / MENU", "Introduced CRC errors (see 2.3)", 0, kCmdFileDownload},
    {23, "Load + 99 Accept", "Work110.sdl",
     "디코더의 소프트웨어 버전이 99 이상인 상태에서 다운로드가 시도된다.",
     "Download 가 성공적으로 허용된다.",
     "Download 가 성공적으로 허용된다.",
     "SERIAL / FPANEL / MENU", "Power cycle tests (see 2.1)", 0, kCmdFileDownload},
    {24, "Cycle download", "Work209.sdl",
     "사용가능한 전체 파티션에 걸쳐 있는 큰 버전의 DVTApp 다운로드가 시도된다. 이 파일은 로드 버전 cycling 을 위한 것이며 따라서 테스트를 반복할 수 있다.",
     "Download 가 성공적으로 허용된다.",
     "Download 가 성공적으로 허용된다.",
     "SERIAL / FPANEL / MENU", "", 0, kCmdFileDownload},
    {25, "Load 0 Reject", "Work000.sdl",
     "불법 소프트웨어 버전이 0 인 상태에서 다운로드를 시도한다.",
     "Download 가 거부되고 invalid software version 오류 메세지가 뜬다.",
     "Download 가 거부되고 invalid software version 오류 메세지가 뜬다.",
     "SERIAL / FPANEL / MENU", "", 0x80000D0A, kCmdFileDownload},
    {26, "Key Sequence - 1 Reject", "Seq-1.sdl",
     "Key sign sequence 가 Decoder 보다 하나 작은 상태에서 다운로드가 시도된다.",
     "Download 가 거부되고 incorrect key sign sequence 오류 메세지가 뜬다.",
     "Download 가 거부되고 incorrect key sign sequence 오류 메세지가 뜬다.",
     "SERIAL / FPANEL / MENU", "", 0x80000C0F, kCmdFileDownload},
    {27, "Same Key Sequence Reject", "Same_seq.sdl",
     "Key sign sequence 가 Decoder 와 같은 상태에서 다운로드를 시도한다.",
     "Download 가 거부되고 incorrect key sign sequence 오류 메세지가 뜬다.",
     "Download 가 거부되고 incorrect key sign sequence 오류 메세지가 뜬다.",
     "SERIAL / FPANEL / MENU", "", 0x80000C0F, kCmdFileDownload},
    {28, "Key Sequence + 0x1001 Reject", "Seqx1001.sdl",
     "Decoder 의 Key sign sequence 가 0x1000 이상인 상태에서 다운로드를 시도한다.",
     "Download 가 거부되고 invalid key sign sequence 오류 메세지가 뜬다.",
     "Download 가 거부되고 key sign sequence 오류 메세지가 뜬다.",
     "SERIAL / FPANEL / MENU", "", 0x80000C0F, kCmdFileDownload},
    {29, "Key Sequence + 0x1000 Accept", "Seqx1000.sdl",
     "Decoder 의 key sign sequence 가 0x1000 인 상태에서 다운로드를 시도한다.",
     "Download 가 성공적으로 허용된다.",
     "Download 가 성공적으로 허용된다.",
     "SERIAL / FPANEL / MENU", "", 0, kCmdFileDownload},
};

int GetDvtTestCaseCount() { return kDvtTestCaseCount; }

namespace {

// "=> text", or nothing for an empty text.
std::string Block(const char* text) {
  return *text == '\0' ? std::string() : std::string("=> ") + text;
}

}  // namespace

std::optional<DvtCaseView> ComposeCaseView(int position) {
  if (position < 0 || position >= GetDvtTestCaseCount()) return std::nullopt;
  const DvtTestCase& c = DvtTestCatalogue[position];
  DvtCaseView view;
  view.title = std::to_string(c.index) + ". " + c.title;
  view.fileName = std::string("* File Name : ") + c.fileName;
  char code[16] = "N/A";
  if (c.typicalError != 0) std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(c.typicalError));
  view.typicalError = std::string("* Tppical Error : ") + code;
  view.description = Block(c.description);
  view.serialResult = Block(c.serialResult);
  view.otaResult = Block(c.otaResult);
  view.initiation = std::string("* Initiation : ") + c.initiation;
  view.additional = Block(c.additional);
  return view;
}

int PreviousDvtCase(int current) {
  const int count = GetDvtTestCaseCount();
  if (current <= 0 || current >= count) return count - 1;
  return current - 1;
}

int NextDvtCase(int current) {
  const int count = GetDvtTestCaseCount();
  if (current < 0 || current >= count - 1) return 0;
  return current + 1;
}

// "dvtapp.bin" and "mankey.dnl" come before "devkey.dnl".
const char* const DvtFileSet[kDvtFileSetCount] = {
    "bbcb.bin",     "dev002.sdl",   "dvtapp.bin",   "mankey.dnl",   "devkey.dnl",   "work004.sdl",
    "var_upd.vdl",  "non_sign.sdl", "load-1.sdl",   "wrong_hw.sdl", "wron_man.sdl", "non_gte3.sdl",
    "badstart.sdl", "bad_end.sdl",  "bad_char.sdl", "noncrc.sdl",   "work110.sdl",  "work011.sdl",
    "work209.sdl",  "work000.sdl",  "seq-1.sdl",    "same_seq.sdl", "seqx1001.sdl", "seqx1000.sdl",
};

std::vector<DownloadRow> FindDvtFileRows(const FileSystem& fs, const std::string& folder) {
  std::vector<DownloadRow> rows;
  for (const char* name : DvtFileSet) {
    if (GetFileSizeOrZero(fs, folder + "\\" + name) > 0) rows.push_back(DownloadRow{false, folder, name});
  }
  return rows;
}
