// What the command line writes to stderr besides results: the progress line
// (rewritten in place, blanked at the end, silent when stderr is not a
// terminal, held back between intervals) and warnings (one line each, then a
// count when there were many).
#include "cli/terminal_progress.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "cli/warning_printer.h"

namespace velbrook::cli {
namespace {

// What a stream received, read back from a file in the temporary directory.
class CapturedStream {
 public:
  CapturedStream() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = (std::filesystem::temp_directory_path() /
             (std::string("velbrook_progress_") + info->name() + ".txt"))
                .string();
    file_ = std::fopen(path_.c_str(), "w+b");
  }
  ~CapturedStream() {
    if (file_ != nullptr) std::fclose(file_);
    std::remove(path_.c_str());
  }
  std::FILE* get() const { return file_; }
  std::string Text() const {
    if (file_ == nullptr) return "(no capture file " + path_ + ")";
    std::fflush(file_);
    std::rewind(file_);
    std::string text;
    for (int c; (c = std::fgetc(file_)) != EOF;) text += static_cast<char>(c);
    return text;
  }

 private:
  std::string path_;
  std::FILE* file_ = nullptr;
};

TEST(TerminalProgressTest, RewritesTheLineAndBlanksWhatIsLeftOver) {
  CapturedStream stream;
  ASSERT_NE(stream.get(), nullptr);
  {
    TerminalProgress progress(stream.get(), true, std::chrono::milliseconds(0));
    progress.Show("Searching... 10 / 12");
    progress.Show("Searching... 9 / 12");
    progress.Clear();
    progress.Clear();  // nothing shown since: nothing written
  }
  EXPECT_EQ(stream.Text(),
            "\rSearching... 10 / 12\rSearching... 9 / 12 \r" + std::string(19, ' ') + "\r");
}

TEST(TerminalProgressTest, DestructionClearsAShownLine) {
  CapturedStream stream;
  { TerminalProgress(stream.get(), true, std::chrono::milliseconds(0)).Show("abc"); }
  EXPECT_EQ(stream.Text(), "\rabc\r   \r");
}

TEST(TerminalProgressTest, DisabledWritesNothing) {
  CapturedStream stream;
  {
    TerminalProgress progress(stream.get(), false);
    progress.Show("Writing Types 1 / 2");
    progress.Clear();
  }
  EXPECT_EQ(stream.Text(), "");
}

TEST(TerminalProgressTest, TextsWithinTheIntervalAreHeldBack) {
  CapturedStream stream;
  {
    TerminalProgress progress(stream.get(), true, std::chrono::hours(1));
    progress.Show("first");
    progress.Show("second");
  }
  EXPECT_EQ(stream.Text(), "\rfirst\r     \r");
}

TEST(TerminalProgressTest, GenerationTextNamesListAndRows) {
  EXPECT_EQ(GenerationProgressText("Object classes", 12, 300), "Writing Object classes 12 / 300");
}

TEST(WarningPrinterTest, MessageBoxTextsBecomeOneLine) {
  const struct {
    const char* text;
    const char* line;
  } rows[] = {
      {"Sorry, interface X probably won't be functional.\r\n\r\n(it is based on Invoke.)",
       "Sorry, interface X probably won't be functional. (it is based on Invoke.)"},
      {"a\rb\nc  d", "a b c d"},
      {"\r\n  trimmed \r\n", "trimmed"},
      {"", ""},
  };
  for (const auto& row : rows) EXPECT_EQ(OneLineText(row.text), row.line) << row.text;
}

TEST(WarningPrinterTest, CountsOnlyWhenThereAreMany) {
  for (size_t printed : {WarningPrinter::kCountAfter, WarningPrinter::kCountAfter + 1}) {
    CapturedStream stream;
    WarningPrinter warnings(stream.get());
    for (size_t i = 0; i < printed; ++i) warnings.Print("w\r\n");
    warnings.Finish();
    std::string expected;
    for (size_t i = 0; i < printed; ++i) expected += "velbrook: warning: w\n";
    if (printed > WarningPrinter::kCountAfter) {
      expected += "velbrook: " + std::to_string(printed) + " warnings\n";
    }
    EXPECT_EQ(stream.Text(), expected);
  }
}

}  // namespace
}  // namespace velbrook::cli
