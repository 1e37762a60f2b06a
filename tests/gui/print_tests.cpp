// Printing to a real printer: a PDF printer of a print server the test runs beside
// (scripts/with_pdf_printer.sh, which says where the jobs land and where pdftoppm is). Each
// job's PDF is rendered and the page checked: the picture fitted to the page's width,
// centred vertically, its four quadrants in place.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "bitmaps.h"
#include "child_process.h"
#include "control_ids.h"
#include "session.h"

namespace quilla::gui {
namespace {

constexpr int kWidth = 64, kHeight = 48;
constexpr unsigned kTopLeft = 0xFF0000, kTopRight = 0x00C000, kBottomLeft = 0x0000FF, kBottomRight = 0xFFC000;

unsigned Quadrants(int x, int y) {
  if (y < kHeight / 2) return x < kWidth / 2 ? kTopLeft : kTopRight;
  return x < kWidth / 2 ? kBottomLeft : kBottomRight;
}

std::wstring Environment(const wchar_t* name) {
  wchar_t value[MAX_PATH] = L"";
  const DWORD n = GetEnvironmentVariableW(name, value, MAX_PATH);
  return n > 0 && n < MAX_PATH ? value : L"";
}

// "Z:\a\b" for Wine's view of "/a/b", and back for the Unix programs the test runs.
std::string UnixPath(const std::wstring& path) {
  std::string unix = Utf8(path.rfind(L"Z:", 0) == 0 ? path.substr(2) : path);
  for (char& c : unix) {
    if (c == '\\') c = '/';
  }
  return unix;
}

struct Page {
  int width = 0, height = 0;
  std::vector<unsigned> pixels;  // 0x00RRGGBB, row by row from the top
  unsigned At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

// A binary PPM as pdftoppm writes it.
bool ReadPpm(const std::wstring& path, Page& page) {
  const std::string bytes = ReadFileBytes(path);
  int maximum = 0, used = 0;
  if (std::sscanf(bytes.c_str(), "P6 %d %d %d%n", &page.width, &page.height, &maximum, &used) != 3 || maximum != 255)
    return false;
  const size_t start = size_t(used) + 1, count = size_t(page.width) * size_t(page.height);
  if (bytes.size() < start + 3 * count) return false;
  page.pixels.resize(count);
  for (size_t i = 0; i < count; ++i) {
    const auto byte = [&](size_t k) { return unsigned(static_cast<unsigned char>(bytes[start + 3 * i + k])); };
    page.pixels[i] = byte(0) << 16 | byte(1) << 8 | byte(2);
  }
  return true;
}

bool Near(unsigned colour, unsigned expected) {
  for (int shift = 0; shift <= 16; shift += 8) {
    const int a = int(colour >> shift & 0xFF), b = int(expected >> shift & 0xFF);
    if (a - b > 48 || b - a > 48) return false;
  }
  return true;
}

class PrintTest : public SessionTest {
 protected:
  void SetUp() override {
    pdfDir_ = WindowsPath(Utf8(Environment(L"QUILLA_PDF_DIR")));
    pdftoppm_ = WindowsPath(Utf8(Environment(L"QUILLA_PDFTOPPM")));
    ASSERT_FALSE(pdfDir_.empty() || pdftoppm_.empty())
        << "QUILLA_PDF_DIR and QUILLA_PDFTOPPM are not set: run the print tests through scripts/with_pdf_printer.sh "
           "(ctest's print_tests does)";
    GetSystemTimeAsFileTime(&started_);
  }
  // The finished PDFs written since the test started, oldest first.
  std::vector<std::wstring> NewPdfs() const {
    std::vector<std::pair<ULONGLONG, std::wstring>> found;
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((pdfDir_ + L"\\*.pdf").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return {};
    do {
      if (CompareFileTime(&entry.ftLastWriteTime, &started_) < 0) continue;
      const std::wstring path = pdfDir_ + L"\\" + entry.cFileName;
      const std::string bytes = ReadFileBytes(path);
      if (bytes.rfind("%%EOF") == std::string::npos || bytes.size() - bytes.rfind("%%EOF") > 8) continue;
      const FILETIME& written = entry.ftLastWriteTime;
      found.push_back({ULONGLONG(written.dwHighDateTime) << 32 | written.dwLowDateTime, path});
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    std::sort(found.begin(), found.end());
    std::vector<std::wstring> paths;
    for (const auto& [time, path] : found) paths.push_back(path);
    return paths;
  }

  // Waits for `count` jobs to land; each PDF moves into the test's folder, under a plain
  // name (the printer's names carry characters Wine shows otherwise).
  bool WaitForJobs(size_t count) {
    const bool landed = WaitFor([&] { return NewPdfs().size() >= count; }, 60000);
    const std::vector<std::wstring> found = NewPdfs();
    for (size_t i = 0; i < found.size(); ++i) {
      const std::wstring job = Path(L"job" + std::to_wstring(i + 1) + L".pdf");
      if (MoveFileExW(found[i].c_str(), job.c_str(), MOVEFILE_COPY_ALLOWED | MOVEFILE_REPLACE_EXISTING))
        jobs_.push_back(job);
    }
    return landed && jobs_.size() == count;
  }

  // The first page of the PDF at 20 dpi. pdftoppm is a Unix program; Wine runs it, its
  // messages going to the test's own output.
  void Render(const std::wstring& pdf, Page& page) const {
    const std::wstring base = Path(L"page");
    DeleteFileW((base + L".ppm").c_str());
    ChildProcess render;
    ASSERT_TRUE(render.Start(pdftoppm_, L"-r 20 -singlefile \"" + Widen(UnixPath(pdf)) + L"\" \"" +
                                            Widen(UnixPath(base)) + L"\""))
        << "cannot run " << Utf8(pdftoppm_);
    // Wine gives no exit status of a Unix process: the whole page written is the sign.
    ASSERT_TRUE(WaitFor([&] { return ReadPpm(base + L".ppm", page); }, 30000)) << "pdftoppm wrote no page for "
                                                                               << Utf8(pdf);
  }

  // The picture spans the page's width, sits in the middle of its height with its aspect,
  // and shows its quadrants where they belong.
  void ExpectFittedAndCentred(const std::wstring& pdf) const {
    Page page;
    ASSERT_NO_FATAL_FAILURE(Render(pdf, page));
    int left = page.width, right = -1, top = page.height, bottom = -1;
    for (int y = 0; y < page.height; ++y) {
      for (int x = 0; x < page.width; ++x) {
        if (Near(page.At(x, y), 0xFFFFFF)) continue;
        left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
      }
    }
    ASSERT_GE(right, 0) << "the page is blank";
    EXPECT_LE(left, 1);
    EXPECT_GE(right, page.width - 2);
    EXPECT_NEAR(top, page.height - 1 - bottom, 2) << "not centred vertically";
    EXPECT_NEAR((bottom - top + 1) * kWidth, (right - left + 1) * kHeight, 3 * kWidth) << "aspect not kept";
    const int midX = (left + right) / 2, midY = (top + bottom) / 2;
    const int quarterX = (right - left) / 4, quarterY = (bottom - top) / 4;
    EXPECT_TRUE(Near(page.At(midX - quarterX, midY - quarterY), kTopLeft));
    EXPECT_TRUE(Near(page.At(midX + quarterX, midY - quarterY), kTopRight));
    EXPECT_TRUE(Near(page.At(midX - quarterX, midY + quarterY), kBottomLeft));
    EXPECT_TRUE(Near(page.At(midX + quarterX, midY + quarterY), kBottomRight));
  }

  // The Print dialog on the default PDF printer, confirmed; throughSetup confirms the
  // print-setup dialog behind "Setup..." first, which makes the printer's context anew.
  void ConfirmPrintDialog(bool throughSetup = false) const {
    HWND dialog = program_->WaitForDialog();
    ASSERT_NE(dialog, nullptr) << "no Print dialog";
    EXPECT_EQ(WindowText(dialog), "Print");
    EXPECT_EQ(WindowText(GetDlgItem(dialog, print_dialog::kPrinter)).rfind("Default Printer (", 0), 0u);
    EXPECT_GT(SendDlgItemMessageW(dialog, print_dialog::kQuality, CB_GETCOUNT, 0, 0), 0) << "no print qualities";
    EXPECT_GE(SendDlgItemMessageW(dialog, print_dialog::kQuality, CB_GETCURSEL, 0, 0), 0);
    Shot("print-dialog");
    if (throughSetup) {
      ASSERT_TRUE(Program::Click(dialog, print_dialog::kSetup));
      HWND setup = program_->WaitForDialog(8000, dialog);
      ASSERT_NE(setup, nullptr) << "no print-setup dialog";
      ASSERT_TRUE(Program::Answer(setup, IDOK));
      EXPECT_EQ(WindowText(GetDlgItem(dialog, print_dialog::kPrinter)).rfind("Default Printer (", 0), 0u);
    }
    ASSERT_TRUE(Program::Answer(dialog, IDOK));
  }

  static std::wstring Widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }

  std::wstring pdfDir_, pdftoppm_;
  FILETIME started_{};
  std::vector<std::wstring> jobs_;
};

TEST_F(PrintTest, PrintsThePictureFittedToThePageAndCentred) {
  ASSERT_TRUE(WriteTestBmp(Path(L"quadrants.bmp"), kWidth, kHeight, Quadrants));
  ASSERT_NO_FATAL_FAILURE(StartOn(Path(L"quadrants.bmp"), ImageTitle("quadrants.bmp", kWidth, kHeight)));
  // Printer Options shows the defaults the print below uses: 100 %, fitted and centred.
  HWND options = program_->ShowDialog(cmd::kPrinterOptions);
  ASSERT_NE(options, nullptr);
  EXPECT_EQ(WindowText(options), "Printer Options");
  EXPECT_EQ(WindowText(GetDlgItem(options, printer_options::kColsValue)), "100");
  EXPECT_EQ(WindowText(GetDlgItem(options, printer_options::kRowsValue)), "100");
  EXPECT_TRUE(Checked(options, printer_options::kFit));
  EXPECT_TRUE(Checked(options, printer_options::kCenter));
  ASSERT_TRUE(Program::Answer(options, IDOK));
  program_->PostMenuCommand(cmd::kPrint);
  ASSERT_NO_FATAL_FAILURE(ConfirmPrintDialog(true));
  ASSERT_TRUE(WaitForJobs(1)) << "no PDF in " << Utf8(pdfDir_);
  ASSERT_TRUE(program_->Settle());
  ExpectNoDialog(*program_);
  ExpectFittedAndCentred(jobs_[0]);
}

TEST_F(PrintTest, DroppedFilesPrintAsOneJobEach) {
  PresetOption(L"DropTo", L"113");
  ASSERT_TRUE(WriteTestBmp(Path(L"first.bmp"), kWidth, kHeight, Quadrants));
  ASSERT_TRUE(WriteTestBmp(Path(L"second.bmp"), kWidth, kHeight, Quadrants));
  Start();
  program_->DropFiles({Path(L"first.bmp"), Path(L"second.bmp")});
  EXPECT_EQ(AnswerBox(IDYES), "Are you sure you want to drop to Printer?");
  ASSERT_NO_FATAL_FAILURE(ConfirmPrintDialog());
  ASSERT_TRUE(WaitForJobs(2)) << "not two PDFs in " << Utf8(pdfDir_);
  ASSERT_TRUE(WaitForTitle(Main(), ImageTitle("second.bmp", kWidth, kHeight), 10000));
  ExpectNoDialog(*program_);
  ExpectFittedAndCentred(jobs_[1]);
}

}  // namespace
}  // namespace quilla::gui
