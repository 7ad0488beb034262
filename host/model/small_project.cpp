#include "host/model/small_project.h"

namespace host {

void AddSmallProject(THostProject& P) {
  const TKxID M1 = MakeID("M1"), L1 = MakeID("L1"), L2 = MakeID("L2");
  const TKxID S1 = MakeID("S1"), S2 = MakeID("S2"), S3 = MakeID("S3"), S4 = MakeID("S4");
  P.AddMap(M1, "Город");
  P.AddLayer(M1, L1, "Улицы");
  P.AddLayer(M1, L2, "Участки");

  THostStyle Street;
  Street.ID = S1;
  Street.Name = "Улица";
  Street.Pen = {0, 1.0, 0, 0x404040, 4};
  Street.Value1 = 11;
  Street.Value2 = 12;
  P.AddStyle(Street);

  THostStyle Parcel;
  Parcel.ID = S2;
  Parcel.Name = "Участок";
  Parcel.Area = true;
  Parcel.Pen = {0, 0.3, 0, 0x000080, 4};
  Parcel.Brush = {0, 0xE0F0E0, 0, 0};
  P.AddStyle(Parcel);

  THostStyle Label;
  Label.ID = S3;
  Label.Name = "Подпись";
  Label.Flags = 0;
  P.AddStyle(Label);

  THostStyle Hatch;
  Hatch.ID = S4;
  Hatch.Name = "Штриховка";
  Hatch.Flags = 0;
  Hatch.Area = true;
  Hatch.Brush = {4, 0xFFFFFF, 0x008000, 1};
  P.AddStyle(Hatch);

  P.AttachStyle(L1, S1);
  P.AttachStyle(L1, S3);
  P.AttachStyle(L2, S2);
  P.AttachStyle(L2, S4);

  const double X = 500000, Y = 6000000;
  P.AddObject(L1,
              {{S1,
                {HostMoveTo(X, Y), HostLineTo(X + 100, Y),
                 HostArcTo(X + 150, Y + 50, 0.4142135623730951), HostLineTo(X + 150, Y + 120)}},
               {S3, {HostMoveTo(X + 40, Y + 5), HostLineTo(X + 80, Y + 5)}}},
              nullptr);
  P.AddObject(L2,
              {{S2,
                {HostMoveTo(X + 10, Y + 20), HostLineTo(X + 10, Y + 60), HostLineTo(X + 60, Y + 60),
                 HostLineTo(X + 60, Y + 20), HostClose(), HostMoveTo(X + 25, Y + 30),
                 HostLineTo(X + 45, Y + 30), HostLineTo(X + 45, Y + 50), HostLineTo(X + 25, Y + 50),
                 HostClose()}}},
              nullptr);
  P.AddObject(L2,
              {{S2,
                {HostMoveTo(X + 70, Y + 20), HostLineTo(X + 70, Y + 60),
                 HostLineTo(X + 110, Y + 60), HostLineTo(X + 110, Y + 20), HostCloseArc(-0.25)}},
               {S4,
                {HostMoveTo(X + 75, Y + 25), HostLineTo(X + 75, Y + 55),
                 HostLineTo(X + 105, Y + 55), HostLineTo(X + 105, Y + 25), HostClose()}}},
              nullptr);
}

}  // namespace host
