<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>THostAddOns</name>
    <message>
        <source>%1: its class is not registered</source>
        <translation>%1: его класс не зарегистрирован</translation>
    </message>
</context>
<context>
    <name>THostTexts</name>
    <message>
        <source>Trace host</source>
        <translation>ГИС Trace</translation>
    </message>
    <message>
        <source>%1 km</source>
        <translation>%1 км</translation>
    </message>
    <message>
        <source>%1 m</source>
        <translation>%1 м</translation>
    </message>
    <message>
        <source>%1 cm</source>
        <translation>%1 см</translation>
    </message>
    <message>
        <source>%1 mm</source>
        <translation>%1 мм</translation>
    </message>
    <message>
        <source>%1 holds no arcs; they are written as chords within %2 of them</source>
        <translation>%1 не хранит дуг: они записаны хордами, отстоящими от дуг не более чем на %2</translation>
    </message>
    <message>
        <source>%1 keeps no attributes; they are left out</source>
        <translation>%1 не хранит атрибутов: они не записаны</translation>
    </message>
    <message>
        <source>%1 keeps no coordinate system; the coordinates are in %2</source>
        <translation>%1 не хранит системы координат: координаты даны в %2</translation>
    </message>
    <message>
        <source>%1: the map keeps x and y only; Z and M values of %2 of %3 objects were left out</source>
        <translation>%1: карта хранит только x и y; значения Z и M у %2 из %3 объектов отброшены</translation>
    </message>
</context>
<context>
    <name>THostWindow</name>
    <message>
        <source>Opening %1...</source>
        <translation>Открывается %1...</translation>
    </message>
    <message>
        <source>Layers</source>
        <translation>Слои</translation>
    </message>
    <message>
        <source>Add-ons</source>
        <translation>Дополнения</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Файл</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Создать</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>&amp;Открыть...</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>Со&amp;хранить</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>Сохранить &amp;как...</translation>
    </message>
    <message>
        <source>&amp;Import Layer...</source>
        <translation>&amp;Импорт слоя...</translation>
    </message>
    <message>
        <source>&amp;Export Layer...</source>
        <translation>&amp;Экспорт слоя...</translation>
    </message>
    <message>
        <source>&amp;Recent Files</source>
        <translation>&amp;Недавние файлы</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>В&amp;ыход</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Вид</translation>
    </message>
    <message>
        <source>Map</source>
        <translation>Карта</translation>
    </message>
    <message>
        <source>Zoom to &amp;All</source>
        <translation>Показать &amp;всё</translation>
    </message>
    <message>
        <source>Zoom to &amp;Selection</source>
        <translation>Показать в&amp;ыделенное</translation>
    </message>
    <message>
        <source>Zoom &amp;In</source>
        <translation>&amp;Увеличить</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>У&amp;меньшить</translation>
    </message>
    <message>
        <source>&amp;Hand Tool</source>
        <translation>&amp;Панорамирование</translation>
    </message>
    <message>
        <source>&amp;Add-ons</source>
        <translation>&amp;Дополнения</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Без имени</translation>
    </message>
    <message>
        <source>%1 selected</source>
        <translation>Выделено: %1</translation>
    </message>
    <message>
        <source>No coordinate system</source>
        <translation>Система координат не задана</translation>
    </message>
    <message>
        <source>The project&apos;s coordinates are plain metres</source>
        <translation>Координаты проекта — метры без системы координат</translation>
    </message>
    <message>
        <source>Centre X %1  Y %2</source>
        <translation>Центр X %1  Y %2</translation>
    </message>
    <message>
        <source>Some add-ons were left out:</source>
        <translation>Не все дополнения загружены:</translation>
    </message>
    <message>
        <source>Object %1 created in layer %2</source>
        <translation>Объект %1 создан в слое %2</translation>
    </message>
    <message>
        <source>The project has unsaved changes. Save them?</source>
        <translation>В проекте есть несохранённые изменения. Сохранить их?</translation>
    </message>
    <message>
        <source>Open Project</source>
        <translation>Открыть проект</translation>
    </message>
    <message>
        <source>Projects (*.json);;All files (*)</source>
        <translation>Проекты (*.json);;Все файлы (*)</translation>
    </message>
    <message>
        <source>Save Project</source>
        <translation>Сохранить проект</translation>
    </message>
    <message>
        <source>Projects (*.json)</source>
        <translation>Проекты (*.json)</translation>
    </message>
    <message>
        <source>Layer:</source>
        <translation>Слой:</translation>
    </message>
    <message>
        <source>Style:</source>
        <translation>Стиль:</translation>
    </message>
    <message>
        <source>Import into</source>
        <translation>Импорт в слой</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Импорт</translation>
    </message>
    <message>
        <source>GIS files (*.gpkg *.shp *.geojson *.json *.fgb *.dxf *.gml *.csv *.kml *.sqlite);;WKT (*.wkt *.txt);;All files (*)</source>
        <translation>Файлы ГИС (*.gpkg *.shp *.geojson *.json *.fgb *.dxf *.gml *.csv *.kml *.sqlite);;WKT (*.wkt *.txt);;Все файлы (*)</translation>
    </message>
    <message>
        <source>Layer of %1:</source>
        <translation>Слой файла %1:</translation>
    </message>
    <message>
        <source>1 object imported</source>
        <translation>Импортирован 1 объект</translation>
    </message>
    <message>
        <source>%1 objects imported</source>
        <translation>Импортировано объектов: %1</translation>
    </message>
    <message>
        <source>Export layer</source>
        <translation>Экспорт слоя</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Экспорт</translation>
    </message>
    <message>
        <source>GeoPackage, arcs kept (*.gpkg);;GeoJSON (*.geojson);;FlatGeobuf (*.fgb);;DXF (*.dxf);;WKT, arcs kept (*.wkt)</source>
        <translation>GeoPackage, с дугами (*.gpkg);;GeoJSON (*.geojson);;FlatGeobuf (*.fgb);;DXF (*.dxf);;WKT, с дугами (*.wkt)</translation>
    </message>
    <message>
        <source>Layer exported to %1</source>
        <translation>Слой экспортирован в %1</translation>
    </message>
</context>
<context>
    <name>TLayerPanel</name>
    <message>
        <source>Move the layer up (drawn later)</source>
        <translation>Поднять слой (рисуется позже)</translation>
    </message>
    <message>
        <source>Move the layer down (drawn earlier)</source>
        <translation>Опустить слой (рисуется раньше)</translation>
    </message>
</context>
<context>
    <name>TMapWidget</name>
    <message>
        <source>%1 failed</source>
        <translation>Ошибка вызова %1</translation>
    </message>
</context>
</TS>
