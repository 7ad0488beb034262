// A project file with two styles built by hand for the host's tests: a
// line style STREET and an area style AREA, and map TOWN ("Город") with a
// layer for each (the line layer first). The tests name the layers and the
// area style as suits them and give the objects.
#pragma once

#include <string>

namespace host::test {

struct TTwoStyleProject {
  std::string Name = "GIS";
  std::string LineLayer = "ROADS", LineCaption = "Улицы";
  std::string AreaLayer = "PARCELS", AreaCaption = "Участки";
  std::string AreaStyleName = "Участок";
  std::string Objects;  // the items of the "objects" array, as JSON

  // The project file's text.
  std::string Json() const {
    return R"({
  "format": "trace-host-project", "version": 1, "name": ")" +
           Name + R"(",
  "styles": [
    {"id":"STREET","name":"Улица","flags":1,"value1":0,"value2":0,"area":false,
     "pen":{"style":0,"width":1.0,"forZoomScale":0.0,"color":8421504,"mode":4},
     "brush":{"style":1,"backColor":16777215,"hatchColor":0,"transparency":1}},
    {"id":"AREA","name":")" +
           AreaStyleName + R"(","flags":1,"value1":0,"value2":0,"area":true,
     "pen":{"style":0,"width":0.5,"forZoomScale":0.0,"color":255,"mode":4},
     "brush":{"style":0,"backColor":13434828,"hatchColor":0,"transparency":1}}
  ],
  "maps": [
    {"id":"TOWN","name":"Город","layers":[
      {"id":")" +
           LineLayer + R"(","caption":")" + LineCaption + R"(","styles":["STREET"]},
      {"id":")" +
           AreaLayer + R"(","caption":")" + AreaCaption + R"(","styles":["AREA"]}]}
  ],
  "objects": [)" +
           Objects + "]\n}";
  }
};

}  // namespace host::test
