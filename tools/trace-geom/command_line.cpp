#include "tools/trace-geom/command_line.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cctype>
#include <sstream>

#include "geomio/number_text.h"

namespace geomio {

namespace {

const char* const Commands =
    "commands:\n"
    "  buffer --width W     the buffer zone of each input geometry\n"
    "  union                the first two geometries combined (from FILE, or the\n"
    "  intersection         first of FILE and the first of FILE2)\n"
    "  difference           the first minus the second\n"
    "  symdifference\n"
    "  area                 the enclosed area of each geometry (holes subtract)";

const char* const Notes =
    "Input is FILE, or standard input when FILE is missing or '-': WKT, one\n"
    "geometry a line ('#' starts a comment line), or GeoJSON when it begins with\n"
    "'{'; a FILE in any vector format GDAL reads is read through GDAL.\n"
    "Accuracy: points closer than the point tolerance (1e-6 on each axis) are\n"
    "one point. A zone is right to a millionth of its width; a width below 2^22\n"
    "spacings of doubles at the coordinates (4 mm at 6 000 000), a part within\n"
    "the point tolerance, or two points within it but more than a millionth of\n"
    "the width apart are refused. Boolean operations take points closer than\n"
    "2^-49 of the coordinates' magnitude for one; beyond about 2.8e8 twice\n"
    "that exceeds the point tolerance, and inputs with sides or gaps that small\n"
    "there are refused. A refusal names the limit it met.\n"
    "Exit status: 0 done, 1 geometric failure or refusal, 2 bad input or usage.";

// The usage line names the command and the files, with the commands listed
// under it; the options follow as CLI11 lists them.
class THelpFormatter : public CLI::Formatter {
 public:
  THelpFormatter() { column_width(23); }
  std::string make_help(const CLI::App* App, std::string, CLI::AppFormatMode Mode) const override {
    return "usage: trace-geom COMMAND [options] [FILE [FILE2]]\n\n" + App->get_description() +
           "\n" + make_groups(App, Mode) + "\n" + App->get_footer() + "\n";
  }
  // Wrapped to 80 columns; CLI11 indents the lines after the first.
  std::string make_option_desc(const CLI::Option* Opt) const override {
    const size_t Width = 79 - get_column_width();
    std::istringstream Words(Opt->get_description());
    std::string Text, Word;
    size_t Line = 0;
    while (Words >> Word) {
      if (Line > 0 && Line + 1 + Word.size() > Width) {
        Text += '\n';
        Line = 0;
      } else if (Line > 0) {
        Text += ' ';
        ++Line;
      }
      Text += Word;
      Line += Word.size();
    }
    return Text;
  }
};

// What stands in place of an option's value in the help text.
struct TValueTexts {
  std::string Width, Tolerance, Format;
};

bool IsBoolean(const std::string& Command) {
  return Command == "union" || Command == "intersection" || Command == "difference" ||
         Command == "symdifference";
}

double PositiveNumber(const std::string& Option, const std::string& Value) {
  double V = 0;
  if (!ParseNumber(Value, V) || V <= 0)
    throw EUsage{Option + " needs a positive number, not '" + Value + "'"};
  return V;
}

TFormat FormatOf(const std::string& Value) {
  if (Value == "wkt") return TFormat::Wkt;
  if (Value == "geojson") return TFormat::GeoJson;
  if (Value == "svg") return TFormat::Svg;
  throw EUsage{"unknown format '" + Value + "' (wkt, geojson or svg)"};
}

std::string WithoutValue(const std::string& Arg) {
  return Arg.substr(0, Arg.find('='));
}

void Define(CLI::App& App, TOptions& O, TValueTexts& V, std::vector<CLI::Option*>& Valued) {
  App.formatter(std::make_shared<THelpFormatter>());
  App.footer(Notes);
  // Unknown options are reported in our words below; a repeated option takes
  // its last value.
  App.allow_extras();
  App.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast)->group("options");
  App.set_help_flag("-h,--help", "this text");
  App.add_option("COMMAND", O.Command);
  App.add_option("FILE", O.Files);
  auto Add = [&](const char* Name, std::string& To, const char* Text, const char* Help) {
    Valued.push_back(App.add_option(Name, To, Help)->option_text(Text));
  };
  Add("--width", V.Width, "W", "the zone's width (buffer)");
  Add("--format", V.Format, "wkt|geojson|svg",
      "format on standard output (default wkt; arcs stay arcs in wkt and svg, geojson gets "
      "chords)");
  Add("-o,--output", O.Output, "OUT",
      "write to OUT instead: .wkt and .svg as above, any other through GDAL by its extension "
      "(.gpkg, .geojson, .fgb, .dxf, .shp, .gml, .csv, ...), attributes carried");
  Add("--driver", O.Driver, "NAME", "GDAL driver for OUT, whatever its extension");
  App.add_flag("--overwrite", O.Overwrite, "replace OUT when it exists");
  Add("--layer", O.Layer, "NAME", "the layer of FILE to read (files with several layers)");
  Add("--crs", O.Crs, "DEF",
      "coordinate system of the input, whatever it names (EPSG:25832, WKT or PROJ text); "
      "nothing is reprojected");
  App.add_flag("--allow-degrees", O.AllowDegrees,
               "buffer in degrees on a geographic coordinate system");
  App.add_flag("--rfc7946", O.Rfc7946,
               "GeoJSON in WGS 84 longitude and latitude, as RFC 7946 asks (arcs become chords "
               "before reprojecting)");
  Add("--tolerance", V.Tolerance, "T",
      "largest distance of a chord from its arc where the output has no arcs (default "
      "width/1000 for buffer, else 0.001)");
  App.add_flag("-q,--quiet", O.Quiet, "no progress line and no notes on standard error");
}

void Check(const TOptions& O) {
  if (O.Command.empty()) throw EUsage{"no command given"};
  static const char* const Known[] = {"buffer",     "union",         "intersection",
                                      "difference", "symdifference", "area"};
  if (std::find(std::begin(Known), std::end(Known), O.Command) == std::end(Known))
    throw EUsage{"unknown command '" + O.Command + "'"};
  if (O.Files.size() > (IsBoolean(O.Command) ? 2u : 1u))
    throw EUsage{"more than one input file: " + O.Files[0] + " and " + O.Files[1]};
  if (O.Command == "buffer" && !O.Width) throw EUsage{"buffer needs --width"};
  if (O.Command != "buffer" && O.Width) throw EUsage{"--width applies to buffer only"};
  if (O.Command == "area" && !O.Output.empty()) throw EUsage{"area writes numbers, not to -o"};
  if (!O.Output.empty() && O.Format)
    throw EUsage{"--format is for standard output; -o takes the format from the file name"};
  if (O.Output.empty() && !O.Driver.empty()) throw EUsage{"--driver needs -o"};
  if (O.Rfc7946 && TextOutput(O) && TextFormat(O) != TFormat::GeoJson)
    throw EUsage{"--rfc7946 applies to GeoJSON output only"};
}

}  // namespace

TOptions ParseArgs(const std::vector<std::string>& Args) {
  TOptions O;
  TValueTexts V;
  std::vector<CLI::Option*> Valued;
  CLI::App App(Commands, "trace-geom");
  Define(App, O, V, Valued);
  try {
    // CLI11 takes the arguments last first.
    std::vector<std::string> Reversed(Args.rbegin(), Args.rend());
    App.parse(Reversed);
  } catch (const CLI::CallForHelp&) {
    TOptions Help;
    Help.Help = App.help();
    return Help;
  } catch (const CLI::ArgumentMismatch& E) {
    // A valued option as the last argument.
    const CLI::Option* Last =
        Args.empty() ? nullptr : App.get_option_no_throw(WithoutValue(Args.back()));
    throw EUsage{Last ? Last->get_name() + " needs a value" : std::string(E.what())};
  } catch (const CLI::ParseError& E) {
    throw EUsage{E.what()};
  }
  for (const std::string& Extra : App.remaining())
    if (Extra.size() > 1 && Extra[0] == '-') throw EUsage{"unknown option " + WithoutValue(Extra)};
  for (const CLI::Option* Opt : Valued)
    if (Opt->count() && Opt->as<std::string>().empty())
      throw EUsage{Opt->get_name() + " needs a value"};
  if (App.count("--width")) O.Width = PositiveNumber("--width", V.Width);
  if (App.count("--tolerance")) O.Tolerance = PositiveNumber("--tolerance", V.Tolerance);
  if (App.count("--format")) O.Format = FormatOf(V.Format);
  Check(O);
  return O;
}

bool EndsWith(const std::string& S, const char* Ext) {
  const std::string E = Ext;
  if (S.size() < E.size()) return false;
  for (size_t i = 0; i < E.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(S[S.size() - E.size() + i])) != E[i]) return false;
  return true;
}

bool TextOutput(const TOptions& O) {
  return O.Output.empty() ||
         (O.Driver.empty() && (EndsWith(O.Output, ".wkt") || EndsWith(O.Output, ".svg")));
}

TFormat TextFormat(const TOptions& O) {
  if (!O.Output.empty()) return EndsWith(O.Output, ".svg") ? TFormat::Svg : TFormat::Wkt;
  return O.Format.value_or(TFormat::Wkt);
}

double ToleranceOf(const TOptions& O) {
  return O.Tolerance ? *O.Tolerance : O.Width ? *O.Width * 1e-3 : 1e-3;
}

}  // namespace geomio
