// The settings store through IOrvexApplication: persistence across a host
// restart, missing values, atomic writes and damaged files.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "compat/com_ptr.h"
#include "tests/support/test_host.h"

namespace {

using compat::TComPtr;
using kx::TKxText;

std::string FileText(const std::string& Path) {
  QFile F(QString::fromStdString(Path));
  if (!F.open(QIODevice::ReadOnly)) return {};
  return F.readAll().toStdString();
}

void WriteFile(const std::string& Path, const std::string& Text) {
  QDir().mkpath(QFileInfo(QString::fromStdString(Path)).absolutePath());
  QFile F(QString::fromStdString(Path));
  ASSERT_TRUE(F.open(QIODevice::WriteOnly | QIODevice::Truncate));
  F.write(Text.data(), static_cast<qint64>(Text.size()));
}

class HostSettings : public ::testing::Test {
 protected:
  TComPtr<kx::IOrvexSettingsStore> Store() {
    auto App = Host->Query<kx::IOrvexApplication>(kx::IID_IOrvexApplication);
    TComPtr<kx::IOrvexSettingsStore> S;
    EXPECT_EQ(App->GetSettingsStore(S.Out()), S_OK);
    return S;
  }
  HRESULT Read(const std::string& Key, std::string& Value, const std::string& Default = "Error",
               std::int32_t Section = 1, std::int32_t Kind = 0) {
    const auto K = TKxText::FromUtf8(Key), D = TKxText::FromUtf8(Default);
    TKxText V;
    V.Clear();
    const HRESULT R = Store()->ReadValue(Section, Kind, &K, &D, &V);
    Value = V.ToUtf8();
    return R;
  }
  HRESULT Write(const std::string& Key, const std::string& Value, std::int32_t Section = 1) {
    const auto K = TKxText::FromUtf8(Key), V = TKxText::FromUtf8(Value);
    return Store()->WriteValue(Section, 0, &K, &V);
  }
  std::string LastError() { return Host->ErrorInfo().MessageUtf8(); }

  QTemporaryDir Dir;
  std::string Path = (Dir.path() + "/sub/settings.ini").toStdString();
  std::unique_ptr<host::TTestHost> Host = std::make_unique<host::TTestHost>(Path);
};

TEST_F(HostSettings, ValuesSurviveARestartAndMissingOnesReadAsMissing) {
  std::string V;
  EXPECT_EQ(Read("Trace.BufferZoneWidth", V), S_OK);
  EXPECT_EQ(V, "Error");
  EXPECT_FALSE(QFile::exists(QString::fromStdString(Path)));  // reading writes nothing

  ASSERT_EQ(Write("Trace.BufferZoneWidth", "0,5"), S_OK);
  ASSERT_EQ(Write("TraceFormLTWH", "10 20 300 197 maximized"), S_OK);
  ASSERT_EQ(Write("Ключ=с\\знаками\n", "строка\r\nвторая = \\ "), S_OK);
  // Keys that begin as a comment or a section header would.
  for (const char* Key : {";k", "#k", "[k]", "[User]"}) ASSERT_EQ(Write(Key, Key), S_OK);
  ASSERT_EQ(Write("Trace.BufferZoneWidth", "1.5"), S_OK);
  ASSERT_EQ(Write("Trace.BufferZoneWidth", "2", 0), S_OK);  // another section

  Host->Restart();
  EXPECT_EQ(Read("Trace.BufferZoneWidth", V), S_OK);
  EXPECT_EQ(V, "1.5");
  EXPECT_EQ(Read("Trace.BufferZoneWidth", V, "x", 0), S_OK);
  EXPECT_EQ(V, "2");
  EXPECT_EQ(Read("TraceFormLTWH", V), S_OK);
  EXPECT_EQ(V, "10 20 300 197 maximized");
  EXPECT_EQ(Read("Ключ=с\\знаками\n", V), S_OK);
  EXPECT_EQ(V, "строка\r\nвторая = \\ ");
  EXPECT_EQ(Host->Settings().LoadError(), "");
  for (const char* Key : {";k", "#k", "[k]", "[User]"}) {
    EXPECT_EQ(Read(Key, V), S_OK);
    EXPECT_EQ(V, Key);
  }
  EXPECT_EQ(Read("Trace.Missing", V, "по умолчанию"), S_OK);
  EXPECT_EQ(V, "по умолчанию");
  // Keys are exact.
  EXPECT_EQ(Read("trace.bufferzonewidth", V), S_OK);
  EXPECT_EQ(V, "Error");
  // Only a file of ours was left in the folder: nothing temporary.
  EXPECT_EQ(QDir(Dir.path() + "/sub").entryList(QDir::Files), QStringList{"settings.ini"});
}

TEST_F(HostSettings, UnknownLeadingArgumentsFail) {
  std::string V;
  EXPECT_EQ(Read("Trace.X", V, "d", 2, 0), E_INVALIDARG);
  EXPECT_NE(LastError().find("раздел 2"), std::string::npos) << LastError();
  EXPECT_EQ(Read("Trace.X", V, "d", 1, 3), E_INVALIDARG);
  EXPECT_NE(LastError().find("вид значения 3"), std::string::npos) << LastError();
  const auto K = TKxText::FromUtf8("k");
  EXPECT_EQ(Store()->WriteValue(1, 0, &K, nullptr), E_POINTER);
  EXPECT_EQ(Write("", "v"), E_INVALIDARG);
}

TEST_F(HostSettings, ADamagedFileIsReportedAndKeptAsideWhileDefaultsServe) {
  const std::vector<std::pair<std::string, std::string>> Damaged = {
      {"[User]\nTrace.A=1\nTrace.B\n", "строка 3: нет знака «=»"},
      {"[User]\nTrace.A=1\nTrace.B=", "строка 3: файл обрывается"},
      {"Trace.A=1\n", "строка 1: значение вне раздела"},
      {"[User]\nTrace.A=\\q\n", "строка 2: неверная escape"},
      {"; c\n[User]\nTrace.A=1\nTrace.A=2\n", "строка 4: ключ повторяется"},
      {"[User]\nTrace.A=\xff\xfe\n", "строка 2: текст не в UTF-8"},
      // An overlong "/", a surrogate, a code point above U+10FFFF, a cut sequence.
      {"[User]\nTrace.A=\xc0\xaf\n", "строка 2: текст не в UTF-8"},
      {"[User]\nTrace.A=\xed\xa0\x80\n", "строка 2: текст не в UTF-8"},
      {"[User]\nTrace.A=\xf4\x90\x80\x80\n", "строка 2: текст не в UTF-8"},
      {"[User]\nTrace.A=\xe2\x82\n", "строка 2: текст не в UTF-8"},
      {"[User\n", "строка 1: неверный заголовок"},
  };
  for (const auto& [Text, Says] : Damaged) {
    Host.reset();
    WriteFile(Path, Text);
    Host = std::make_unique<host::TTestHost>(Path);
    EXPECT_NE(Host->Settings().LoadError().find(Says), std::string::npos)
        << Host->Settings().LoadError();
    EXPECT_NE(Host->Settings().LoadError().find(Path), std::string::npos);
    std::string V;
    EXPECT_EQ(Read("Trace.A", V, "d"), S_OK);
    EXPECT_EQ(V, "d");
    EXPECT_EQ(FileText(Path), Text);
    // The first change keeps the damaged file aside.
    EXPECT_EQ(Write("Trace.A", "3"), S_OK) << LastError();
    EXPECT_EQ(FileText(Path + ".damaged"), Text);
    Host->Restart();
    EXPECT_EQ(Host->Settings().LoadError(), "");
    EXPECT_EQ(Read("Trace.A", V), S_OK);
    EXPECT_EQ(V, "3");
  }
  // A sound file with comments, blank lines and CR LF ends reads.
  Host.reset();
  // Two-, three- and four-byte characters up to U+10FFFF are UTF-8.
  const std::string Wide = "Ж€\xf0\x9f\x98\x80\xf4\x8f\xbf\xbf";
  WriteFile(Path, "; c\r\n\r\n[User]\r\nTrace.A=1 \r\nTrace.B=" + Wide + "\r\n");
  Host = std::make_unique<host::TTestHost>(Path);
  EXPECT_EQ(Host->Settings().LoadError(), "");
  std::string V;
  EXPECT_EQ(Read("Trace.A", V), S_OK);
  EXPECT_EQ(V, "1 ");
  EXPECT_EQ(Host->Settings().Value(1, "Trace.B"), Wide);
}

TEST_F(HostSettings, AFailedWriteKeepsTheOldFileAndTheOldValue) {
  ASSERT_EQ(Write("Trace.A", "1"), S_OK);
  const std::string Before = FileText(Path);
  // The folder made read-only (which holds for the superuser too): the
  // temporary file cannot be created.
  QFile::setPermissions(Dir.path() + "/sub", QFileDevice::ReadOwner | QFileDevice::ExeOwner);
  EXPECT_EQ(Write("Trace.A", "2"), E_FAIL);
  EXPECT_NE(LastError().find("не записан"), std::string::npos) << LastError();
  std::string V;
  EXPECT_EQ(Read("Trace.A", V), S_OK);
  EXPECT_EQ(V, "1");
  QFile::setPermissions(Dir.path() + "/sub",
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  EXPECT_EQ(FileText(Path), Before);
}

}  // namespace

namespace {

TEST(HostSettingsFile, AWriteThatCannotReachTheDiskChangesNothing) {
  QTemporaryDir Dir;
  const QString Blocker = Dir.path() + "/blocker";
  QFile F(Blocker);
  ASSERT_TRUE(F.open(QIODevice::WriteOnly));
  F.close();
  // The file's folder would have to be where a file is.
  host::TTestHost Host((Blocker + "/settings.ini").toStdString());
  auto App = Host.Query<kx::IOrvexApplication>(kx::IID_IOrvexApplication);
  TComPtr<kx::IOrvexSettingsStore> Store;
  ASSERT_EQ(App->GetSettingsStore(Store.Out()), S_OK);
  const auto K = TKxText::FromUtf8("Trace.A"), V = TKxText::FromUtf8("1"),
             D = TKxText::FromUtf8("Error");
  EXPECT_EQ(Store->WriteValue(1, 0, &K, &V), E_FAIL);
  EXPECT_NE(Host.ErrorInfo().MessageUtf8().find("не записан"), std::string::npos);
  TKxText Out;
  EXPECT_EQ(Store->ReadValue(1, 0, &K, &D, &Out), S_OK);
  EXPECT_EQ(Out.ToUtf8(), "Error");
}

}  // namespace
