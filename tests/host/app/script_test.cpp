// The script reader and runner, and the host's command line.
#include <gtest/gtest.h>

#include "host/app/host_options.h"
#include "host/app/host_script.h"

namespace {

using host::TScriptStep;

TEST(ScriptTest, ReadsStepsWithTheirLinesAndQuotedWords) {
  const QString Text =
      "# a journey\n"
      "\n"
      "open town.json\n"
      "  select S1 \"Street 2\"\n"
      "COMMAND Trace\n"
      "select\n"
      "click 500010.5 6000020\n"
      "type Edit \"\"\n";
  std::vector<TScriptStep> Steps;
  ASSERT_FALSE(host::ParseScript(Text, Steps));
  ASSERT_EQ(Steps.size(), 6u);
  EXPECT_EQ(Steps[0].Line, 3);
  EXPECT_EQ(Steps[0].Verb, "open");
  EXPECT_EQ(Steps[1].Line, 4);
  EXPECT_EQ(Steps[1].Args, QStringList({"S1", "Street 2"}));
  EXPECT_EQ(Steps[2].Verb, "command");  // verbs in any case
  EXPECT_TRUE(Steps[3].Args.isEmpty());
  EXPECT_EQ(Steps[4].Args, QStringList({"500010.5", "6000020"}));
  EXPECT_EQ(Steps[5].Args, QStringList({"Edit", ""}));  // an empty word is kept
}

TEST(ScriptTest, AFaultyLineIsNamedAndNothingIsKept) {
  std::vector<TScriptStep> Steps{TScriptStep{}};
  struct Case {
    const char* Text;
    int Line;
    const char* Says;
  };
  for (const Case& C :
       {Case{"open a\nfly away\n", 2, "unknown step"}, Case{"\n\nclick 1\n", 3, "usage: click X Y"},
        Case{"press a b\n", 1, "usage: press NAME"}, Case{"open a\nselect \"S1\n", 2, "quote"},
        Case{"new\n\"\"\n", 2, "empty step"}, Case{"open \"\" x\n", 1, "usage: open FILE"}}) {
    const host::TScriptError E = host::ParseScript(QString::fromUtf8(C.Text), Steps);
    EXPECT_EQ(E.Line, C.Line) << C.Text;
    EXPECT_TRUE(E.Message.contains(C.Says)) << qPrintable(E.Message);
    EXPECT_EQ(Steps.size(), 1u) << "kept only from a whole script";
  }
}

class TRecorder : public host::TScriptTarget {
 public:
  QString Do(const TScriptStep& Step) override {
    Done << Step.Verb;
    if (Step.Verb == "press" && Step.Args[0] == "broken") return "no such button";
    if (Step.Verb == "press" && Step.Args[0] == "throws") throw std::runtime_error("it threw");
    return {};
  }
  QStringList Done;
};

TEST(ScriptTest, RunStopsAtTheFirstFailingStepWithItsLine) {
  std::vector<TScriptStep> Steps;
  ASSERT_FALSE(host::ParseScript("new\n#\npress ok\npress broken\nsave\n", Steps));
  TRecorder Target;
  const host::TScriptError E = host::RunScript(Steps, Target);
  EXPECT_EQ(E.Line, 4);
  EXPECT_EQ(E.Message, "no such button");
  EXPECT_EQ(Target.Done, QStringList({"new", "press", "press"}));

  ASSERT_FALSE(host::ParseScript("press throws\n", Steps));
  const host::TScriptError Thrown = host::RunScript(Steps, Target);
  EXPECT_EQ(Thrown.Line, 1);
  EXPECT_EQ(Thrown.Message, "it threw");

  ASSERT_FALSE(host::ParseScript("new\nsave x\n", Steps));
  EXPECT_FALSE(host::RunScript(Steps, Target));
}

TEST(OptionsTest, CommandLine) {
  const auto O = host::ParseHostOptions({"trace-host", "--script", "a.txt", "town.json"});
  EXPECT_TRUE(O.Error.isEmpty());
  EXPECT_EQ(O.Script, "a.txt");
  EXPECT_EQ(O.Project, "town.json");
  EXPECT_FALSE(O.Help);

  EXPECT_TRUE(host::ParseHostOptions({"trace-host", "-h"}).Help);
  EXPECT_FALSE(host::ParseHostOptions({"trace-host", "--bogus"}).Error.isEmpty());
  EXPECT_FALSE(host::ParseHostOptions({"trace-host", "a.json", "b.json"}).Error.isEmpty());
  EXPECT_FALSE(host::ParseHostOptions({"trace-host", "--script"}).Error.isEmpty());

  const QString Help = host::HostHelpText();
  EXPECT_TRUE(Help.startsWith("Usage: trace-host")) << qPrintable(Help);
  for (const char* Option : {"--script", "--settings", "--register", "--list", "PROJECT"})
    EXPECT_TRUE(Help.contains(Option)) << Option;
}

}  // namespace
