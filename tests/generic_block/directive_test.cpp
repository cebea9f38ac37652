// The block's conditional compilation, run through a small model of the
// directives: once in a program, twice in a program, twice in a DLL.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "generic_block/generic_block.h"

namespace velbrook::generic_block {
namespace {

// Evaluates $ifdef, $ifndef, $else, $endif and $define over the lines and
// returns the lines that are compiled (directives left out).
class DirectiveModel {
 public:
  explicit DirectiveModel(std::set<std::string> defined) : defined_(std::move(defined)) {}

  std::vector<std::string> Compile(const std::vector<std::string>& lines) {
    std::vector<std::string> compiled;
    for (const std::string& raw : lines) {
      const std::string line = raw.substr(std::min(raw.find_first_not_of(' '), raw.size()));
      std::istringstream words(line);
      std::string directive, symbol;
      words >> directive >> symbol;
      if (directive == "$ifdef" || directive == "$ifndef") {
        const bool parent = Active();
        const bool holds = defined_.count(symbol) == (directive == "$ifdef" ? 1u : 0u);
        stack_.push_back({parent, parent && holds});
      } else if (directive == "$else") {
        EXPECT_FALSE(stack_.empty()) << "$else without $if";
        if (!stack_.empty()) stack_.back().active = stack_.back().parent && !stack_.back().active;
      } else if (directive == "$endif") {
        EXPECT_FALSE(stack_.empty()) << "$endif without $if";
        if (!stack_.empty()) stack_.pop_back();
      } else if (directive == "$define") {
        if (Active()) defined_.insert(symbol);
      } else if (Active()) {
        compiled.push_back(raw);
      }
    }
    EXPECT_TRUE(stack_.empty()) << "unclosed $if";
    return compiled;
  }

 private:
  struct Level {
    bool parent;
    bool active;
  };
  bool Active() const { return stack_.empty() || stack_.back().active; }

  std::set<std::string> defined_;
  std::vector<Level> stack_;
};

std::vector<std::string> BlockLines() {
  return std::vector<std::string>(std::begin(kGenericBlockLines), std::end(kGenericBlockLines));
}

int CountLine(const std::vector<std::string>& lines, const std::string& line) {
  int n = 0;
  for (const std::string& l : lines) n += l == line;
  return n;
}

TEST(GenericBlockDirectiveTest, ProgramCompilesBothPartsOnce) {
  DirectiveModel model({});
  const std::vector<std::string> first = model.Compile(BlockLines());
  EXPECT_EQ(CountLine(first, "type INTERFACE 'generic IDispatch interface wrapper"), 1);
  EXPECT_EQ(CountLine(first, "    ComInit 'API declares"), 1);
  EXPECT_EQ(CountLine(first, "sub ComInit"), 1);
  EXPECT_EQ(CountLine(first, "sub ENUMEndEnum"), 1);
  EXPECT_EQ(CountLine(first, "        $define doVelbrookGenerics2"), 0);
  // The second copy in the same program adds nothing but its comments'
  // surroundings: no declaration or implementation line.
  const std::vector<std::string> second = model.Compile(BlockLines());
  for (const std::string& line : second) {
    const std::string trimmed = line.substr(std::min(line.find_first_not_of(' '), line.size()));
    EXPECT_TRUE(trimmed.empty() || trimmed[0] == '\'') << line;
  }
}

TEST(GenericBlockDirectiveTest, DllCompilesDeclarationsFirstThenImplementations) {
  DirectiveModel model({"DLL"});
  const std::vector<std::string> first = model.Compile(BlockLines());
  EXPECT_EQ(CountLine(first, "type INTERFACE 'generic IDispatch interface wrapper"), 1);
  EXPECT_EQ(CountLine(first, "declare sub ComInit"), 1);
  EXPECT_EQ(CountLine(first, "    ComInit 'API declares"), 0);  // the DLL calls it itself
  EXPECT_EQ(CountLine(first, "sub ComInit"), 0);
  const std::vector<std::string> second = model.Compile(BlockLines());
  EXPECT_EQ(CountLine(second, "type INTERFACE 'generic IDispatch interface wrapper"), 0);
  EXPECT_EQ(CountLine(second, "declare sub ComInit"), 0);
  EXPECT_EQ(CountLine(second, "sub ComInit"), 1);
  EXPECT_EQ(CountLine(second, "sub ENUMEndEnum"), 1);
  EXPECT_EQ(CountLine(second, "            eventtable.initialize 20000 : eventtable.size=0"), 1);
  // A third inclusion compiles nothing more.
  const std::vector<std::string> third = model.Compile(BlockLines());
  EXPECT_EQ(CountLine(third, "sub ComInit"), 0);
}

TEST(GenericBlockDirectiveTest, ProgramSkipsTheDllOnlyLines) {
  DirectiveModel model({});
  const std::vector<std::string> lines = model.Compile(BlockLines());
  EXPECT_EQ(CountLine(lines, "            eventtable.initialize 20000 : eventtable.size=0"), 0);
}

}  // namespace
}  // namespace velbrook::generic_block
