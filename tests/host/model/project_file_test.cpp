// Saving and reopening whole projects, and damaged project files.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstring>

#include "host/model/host_error.h"
#include "host/model/project_file.h"
#include "host/model/small_project.h"
#include "tests/host/app/many_parcels.h"

namespace {

using namespace host;

std::string ReadText(const std::string& Path) {
  QFile F(QString::fromStdString(Path));
  EXPECT_TRUE(F.open(QIODevice::ReadOnly)) << Path;
  return F.readAll().toStdString();
}

void ExpectSameProjects(const THostProject& A, const THostProject& B) {
  EXPECT_EQ(A.Name, B.Name);
  ASSERT_EQ(A.Maps(), B.Maps());
  for (const TKxID& M : A.Maps()) {
    EXPECT_EQ(A.Map(M).Name, B.Map(M).Name);
    ASSERT_EQ(A.Map(M).Layers, B.Map(M).Layers);
    for (const TKxID& L : A.Map(M).Layers) {
      EXPECT_EQ(A.Layer(L).Caption, B.Layer(L).Caption);
      EXPECT_EQ(A.Layer(L).Styles, B.Layer(L).Styles);
      const auto &FA = A.Layer(L).Fields, &FB = B.Layer(L).Fields;
      ASSERT_EQ(FA.size(), FB.size());
      for (std::size_t K = 0; K < FA.size(); ++K) {
        EXPECT_EQ(FA[K].Name, FB[K].Name);
        EXPECT_EQ(FA[K].Kind, FB[K].Kind);
        EXPECT_EQ(FA[K].Width, FB[K].Width);
        EXPECT_EQ(FA[K].Precision, FB[K].Precision);
      }
    }
  }
  ASSERT_EQ(A.StyleOrder(), B.StyleOrder());
  for (const TKxID& S : A.StyleOrder()) {
    const THostStyle &P = A.Style(S), &Q = B.Style(S);
    EXPECT_EQ(P.Name, Q.Name);
    EXPECT_EQ(P.Flags, Q.Flags);
    EXPECT_EQ(P.Value1, Q.Value1);
    EXPECT_EQ(P.Value2, Q.Value2);
    EXPECT_EQ(P.Area, Q.Area);
    // The records are packed: equal bytes are equal fields.
    EXPECT_EQ(std::memcmp(&P.Pen, &Q.Pen, sizeof P.Pen), 0);
    EXPECT_EQ(std::memcmp(&P.Brush, &Q.Brush, sizeof P.Brush), 0);
    EXPECT_EQ(P.Layers, Q.Layers);
  }
  const auto OA = A.Objects(), OB = B.Objects();
  ASSERT_EQ(OA.size(), OB.size());
  for (std::size_t I = 0; I < OA.size(); ++I) {
    EXPECT_TRUE(OA[I]->ID == OB[I]->ID);
    EXPECT_TRUE(OA[I]->LayerID == OB[I]->LayerID);
    EXPECT_EQ(OA[I]->Values, OB[I]->Values) << IDText(OA[I]->ID);
    ASSERT_EQ(OA[I]->Shapes.size(), OB[I]->Shapes.size());
    for (std::size_t J = 0; J < OA[I]->Shapes.size(); ++J) {
      EXPECT_TRUE(OA[I]->Shapes[J].StyleID == OB[I]->Shapes[J].StyleID);
      EXPECT_TRUE(SameCommands(OA[I]->Shapes[J].Commands, OB[I]->Shapes[J].Commands))
          << IDText(OA[I]->ID);
    }
  }
}

TEST(HostProjectFile, SaveAndReopenKeepEverythingBitForBit) {
  THostProject P;
  AddSmallProject(P);
  P.Name = "Проверка";
  // Numbers that lose bits when printed carelessly.
  const TKxID L1 = MakeID("L1"), S1 = MakeID("S1");
  P.AddObject(
      L1,
      {{S1, {HostMoveTo(500000.1 + 1e-9, 6000000.3), HostArcTo(500001.0 / 3, 0.1 + 0.2, 1.0 / 7)}}},
      nullptr);
  const TKxID Named = MakeID("Дом №5");
  P.AddObject(L1, {{S1, {HostMoveTo(0, 0), HostLineTo(1, 1)}}}, &Named);

  QTemporaryDir Dir;
  const std::string Path = (Dir.path() + "/p/town.json").toStdString();
  SaveProjectFile(P, Path);
  const THostProject Q = LoadProjectFile(Path);
  ExpectSameProjects(P, Q);
  ASSERT_NE(Q.FindObject(Named), nullptr);
  // Saving what was read writes the same text.
  EXPECT_EQ(ProjectToJson(Q), ReadText(Path));
  EXPECT_EQ(QDir(Dir.path() + "/p").entryList(QDir::Files), QStringList{"town.json"});
}

// A layer with one field of every kind and objects with values of each,
// nulls among them.
void AddAttributes(THostProject& P) {
  using geomio::TFieldKind;
  const TKxID L2 = MakeID("L2");
  P.SetLayerFields(L2, {{"Владелец", TFieldKind::String, 40, 0},
                        {"count", TFieldKind::Integer64, 0, 0},
                        {"n", TFieldKind::Integer, 9, 0},
                        {"share", TFieldKind::Real, 12, 4},
                        {"built", TFieldKind::Date, 0, 0},
                        {"at", TFieldKind::Time, 0, 0},
                        {"seen", TFieldKind::DateTime, 0, 0}});
  const std::vector<THostShape> Square = {
      {MakeID("S2"),
       {HostMoveTo(500000, 6000000), HostLineTo(500010, 6000000), HostLineTo(500010, 6000010),
        HostClose()}}};
  P.AddObject(L2, Square, nullptr,
              {std::string("Иванов \"и сын\""), std::int64_t{INT64_MIN}, std::int64_t{-7},
               0.1 + 0.2, std::string("2024/05/06"), std::string("12:30:00"),
               std::string("2024/05/06 12:30:00.5+01")});
  // Nulls inside, a whole-valued real (it stays a real), trailing nulls left out.
  P.AddObject(L2, Square, nullptr,
              {std::monostate{}, std::int64_t{INT64_MAX}, std::monostate{}, 3.0});
  P.AddObject(L2, Square);  // none at all, as an add-on makes it
}

TEST(HostProjectFile, AttributesSaveAndReopenWithTheirKinds) {
  THostProject P;
  AddSmallProject(P);
  AddAttributes(P);
  QTemporaryDir Dir;
  const std::string Path = (Dir.path() + "/attributes.json").toStdString();
  SaveProjectFile(P, Path);
  const THostProject Q = LoadProjectFile(Path);
  ExpectSameProjects(P, Q);
  EXPECT_EQ(ProjectToJson(Q), ReadText(Path));
  const std::vector<const THostMapObject*> Objects = Q.Objects(MakeID("L2"));
  ASSERT_EQ(Objects.size(), 5u);
  EXPECT_EQ(std::get<double>(Objects[3]->Values.at(3)), 3.0);
  EXPECT_EQ(Objects[3]->Values.size(), 4u);
  EXPECT_TRUE(Objects[4]->Values.empty());
  // A layer without fields and an object without values write neither member.
  EXPECT_EQ(ReadText(Path).find("\"fields\":[]"), std::string::npos);
  EXPECT_EQ(ReadText(Path).find("\"values\":[]"), std::string::npos);
  EXPECT_EQ(ReadText(Path).find("\"fields\""), ReadText(Path).rfind("\"fields\""));
}

// A large project tells how far its opening got, from 0 to 100 in steps.
TEST(HostProjectFile, ALargeProjectTellsItsProgress) {
  THostProject Big;
  AddSmallProject(Big);
  host::test::AddParcels(Big, 5000);
  std::vector<int> Told;
  ProjectFromJson(ProjectToJson(Big), [&](int Percent) { Told.push_back(Percent); });
  ASSERT_GE(Told.size(), 6u);
  EXPECT_EQ(Told.front(), 0);
  EXPECT_EQ(Told.back(), 100);
  EXPECT_TRUE(std::is_sorted(Told.begin(), Told.end()));
}

TEST(HostProjectFile, TheSampleTownOpens) {
  const THostProject P = LoadProjectFile(TRACE_DATA_DIR "/sample_town.json");
  EXPECT_GE(P.ObjectCount(), 200);
  EXPECT_EQ(P.Maps().size(), 1u);
  int NoGeometry = 0;
  for (const TKxID& S : P.StyleOrder()) NoGeometry += !P.Style(S).DefinesGeometry();
  EXPECT_GE(NoGeometry, 3);
  // The file is what the writer writes: the script and the host agree.
  EXPECT_EQ(ProjectToJson(P), ReadText(TRACE_DATA_DIR "/sample_town.json"));
  geo::TDRect R;
  ASSERT_TRUE(P.Bounds(R));
  EXPECT_GT(R.X1, 499000);
  EXPECT_LT(R.X2, 501500);
  EXPECT_GT(R.Y1, 5999000);
  EXPECT_LT(R.Y2, 6001000);
}

std::string Error(std::string_view Text) {
  try {
    ProjectFromJson(Text);
  } catch (const EHostError& E) {
    return E.what();
  }
  return "no error";
}

TEST(HostProjectFile, DamagedFilesNameTheLineOrTheField) {
  THostProject P;
  AddSmallProject(P);
  const std::string Good = ProjectToJson(P);
  // Truncated anywhere: a syntax error with its line, never a half project.
  for (std::size_t Cut : {Good.size() / 3, Good.size() / 2, Good.size() - 3}) {
    const std::string E = Error(Good.substr(0, Cut));
    const auto Lines =
        std::count(Good.begin(), Good.begin() + static_cast<std::ptrdiff_t>(Cut), '\n') + 1;
    EXPECT_NE(E.find("строка " + std::to_string(Lines) + ","), std::string::npos) << E;
  }
  EXPECT_NE(Error("{\n  \"format\": \"trace-host-project\",\n  x\n}").find("строка 3, столбец 3"),
            std::string::npos)
      << Error("{\n  \"format\": \"trace-host-project\",\n  x\n}");

  // The first From in T replaced by To.
  const auto Edited = [](std::string T, const std::string& From, const std::string& To) {
    const auto At = T.find(From);
    EXPECT_NE(At, std::string::npos) << From;
    return At == std::string::npos ? T : T.replace(At, From.size(), To);
  };
  const auto Replace = [&](const std::string& From, const std::string& To) {
    return Edited(Good, From, To);
  };
  const std::vector<std::pair<std::string, std::string>> Cases = {
      {Replace("\"trace-host-project\"", "\"other\""), "поле format: не проект"},
      {Replace("\"version\": 1", "\"version\": 2"), "поле version: неизвестная версия"},
      {Replace("[3,", "[6,"), "поле objects[0].shapes[0].commands[2][0]: число вне границ [1, 5]"},
      {Replace("[4]", "[4,1]"), "commands[4]: команда вида 4 должна иметь 1 элементов"},
      {Replace("\"layer\":\"L1\"", "\"layer\":\"L7\""), "поле objects[0]: Неизвестный слой «L7»"},
      {Replace("\"style\":\"S3\"", "\"style\":\"S2\""),
       "поле objects[0]: Стиль «S2» не принадлежит слою «L1»"},
      {Replace("\"id\":\"2\"", "\"id\":\"1\""), "поле objects[1]: Объект «1» уже есть"},
      {Replace("\"id\":\"S2\"", "\"id\":\"S1\""), "поле styles[1]: Стиль «S1» уже есть"},
      {Replace("\"id\":\"L1\"", "\"id\":\"0123456789ABCDEF\""),
       "поле maps[0].layers[0].id: Идентификатор"},
      {Replace("\"flags\":1", "\"flags\":-1"), "поле styles[0].flags: число вне границ"},
      {Replace("\"flags\":1", "\"flags\":1.5"), "поле styles[0].flags: ожидается целое"},
      {Replace("\"area\":false", "\"area\":0"), "поле styles[0].area: ожидается true или false"},
      {Replace("\"shapes\":", "\"shape\":"), "поле objects[0].shapes: отсутствует"},
  };
  for (const auto& [Text, Says] : Cases)
    EXPECT_NE(Error(Text).find(Says), std::string::npos) << Error(Text);

  // Fields and values that do not fit each other.
  AddAttributes(P);
  const std::string WithValues = ProjectToJson(P);
  const auto In = [&](const std::string& From, const std::string& To) {
    return Edited(WithValues, From, To);
  };
  const std::vector<std::pair<std::string, std::string>> ValueCases = {
      {In("\"type\":\"integer64\"", "\"type\":\"long\""),
       "поле maps[0].layers[1].fields[1].type: неизвестный вид поля"},
      {In("\"name\":\"n\"", "\"name\":\"COUNT\""), "fields[2].name: поле «COUNT» уже есть"},
      {In("\"name\":\"count\"", "\"name\":\"\""), "fields[1].name: пустое имя поля"},
      {In("[null,9223372036854775807", "[null,\"many\""),
       "поле objects[4].values[1]: ожидается целое число"},
      {In("[null,9223372036854775807", "[null,1.5"),
       "поле objects[4].values[1]: ожидается целое число"},
      {In("[null,9223372036854775807", "[7,9223372036854775807"),
       "поле objects[4].values[0]: ожидается строка"},
      {In("[null,9223372036854775807,null,3.0]", "[null,1,null,3.0,null,null,null,null]"),
       "поле objects[4]: Значений 8, а полей у слоя 7"},
  };
  for (const auto& [Text, Says] : ValueCases)
    EXPECT_NE(Error(Text).find(Says), std::string::npos) << Error(Text);
  // Values for a layer without fields.
  EXPECT_NE(Error(Replace("\"layer\":\"L1\",", "\"layer\":\"L1\",\"values\":[1],"))
                .find("поле objects[0]: Значений 1, а полей у слоя 0"),
            std::string::npos);
}

TEST(HostProjectFile, AFailedOpenOrSaveChangesNothing) {
  QTemporaryDir Dir;
  const std::string Path = (Dir.path() + "/town.json").toStdString();
  THostProject P;
  AddSmallProject(P);
  SaveProjectFile(P, Path);
  const std::string Before = ReadText(Path);

  // A save into a folder that is a file fails and leaves the old file.
  QFile Blocker(Dir.path() + "/blocker");
  ASSERT_TRUE(Blocker.open(QIODevice::WriteOnly));
  Blocker.close();
  EXPECT_THROW(SaveProjectFile(P, (Dir.path() + "/blocker/town.json").toStdString()), EHostError);

  // A read-only file is refused, for the superuser too.
  const auto Mode = QFile::permissions(QString::fromStdString(Path));
  QFile::setPermissions(QString::fromStdString(Path), QFileDevice::ReadOwner);
  P.RemoveObject(MakeID("2"));
  try {
    SaveProjectFile(P, Path);
    ADD_FAILURE() << "a read-only file replaced";
  } catch (const EHostError& E) {
    EXPECT_NE(std::string(E.what()).find(Path + " не записан: Permission denied"),
              std::string::npos)
        << E.what();
  }
  QFile::setPermissions(QString::fromStdString(Path), Mode);
  EXPECT_EQ(ReadText(Path), Before);

  // A damaged file does not replace the open project.
  {
    QFile F(QString::fromStdString(Path));
    ASSERT_TRUE(F.open(QIODevice::WriteOnly | QIODevice::Truncate));
    F.write(QByteArray::fromStdString(Before.substr(0, Before.size() / 2)));
  }
  THostProject Open;
  AddSmallProject(Open);
  try {
    Open = LoadProjectFile(Path);
    ADD_FAILURE() << "a truncated file opened";
  } catch (const EHostError& E) {
    EXPECT_NE(std::string(E.what()).find(Path), std::string::npos) << E.what();
  }
  EXPECT_EQ(Open.ObjectCount(), 3);
  EXPECT_THROW(LoadProjectFile(Path + ".missing"), EHostError);
}

}  // namespace
