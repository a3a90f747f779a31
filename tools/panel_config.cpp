// Reads a panel's sound configuration the way the simulator would make the
// module read it, and prints the slot table, the panel variables the module
// registered and what the module's WAV reader makes of each sound's file. Run it from the
// simulator's root folder (the one holding the Gauges and Sound folders), with the gauge's
// parameter string (the INI path) as its argument.
#include <cstdio>
#include <string>

#include "audio/wave_reader.h"
#include "config/load_configuration.h"
#include "config/slot_table.h"
#include "module/gauge_records.h"
#include "panel_host.h"

namespace {

using vorlanex::soundTable;

void printSlotTable() {
  std::printf("sounds: %d   error value: %d\n\n", soundTable.soundCount, soundTable.errorValue);
  std::printf("slot  volume  id  variable                        WAV file\n");
  for (int i = 0; i < soundTable.soundCount; ++i) {
    const vorlanex::SoundSlot& slot = soundTable.slots[i];
    std::printf("%4d  %6.0f  %2d  %-30s  \"%s\"\n", i, static_cast<double>(slot.volume), slot.varId,
                slot.varName, slot.wavePath);
  }
  const vorlanex::SoundSlot& stop = vorlanex::stopAllSlot(soundTable);
  std::printf("%4d  %6s  %2d  %s   (stop-all)\n", soundTable.soundCount, "", stop.varId,
              stop.varName);
}

void printRegistered(vorlanex::host::PanelHost& host) {
  std::printf("\nvariables registered, in order:\n");
  for (const std::string& name : host.registeredNames()) {
    std::printf("  %-30s id %d\n", name.c_str(), host.variables().lookup(name));
  }
}

// Missing, not readable (and why), or the format and size the sound's buffer
// would get.
void printWaveFiles() {
  std::printf("\nWAV files, as the module's reader opens them:\n");
  for (int i = 0; i < soundTable.soundCount; ++i) {
    vorlanex::WaveReader reader;
    reader.open(soundTable.slots[i].wavePath);
    const vorlanex::OpenFailure failure = reader.lastOpenFailure();
    std::printf("%4d  ", i);
    if (failure == vorlanex::OpenFailure::kNoFile) {
      std::printf("missing\n");
    } else if (failure != vorlanex::OpenFailure::kNone) {
      std::printf("not readable: %s\n", vorlanex::describeOpenFailure(failure));
    } else {
      const vorlanex::WaveFormat& format = *reader.format;
      std::printf("format tag %u, %u channels, %u Hz, %u bits, block align %u, %u data bytes\n",
                  format.wFormatTag, format.nChannels, format.nSamplesPerSec, format.wBitsPerSample,
                  format.nBlockAlign, reader.dataChunk.cksize);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 2) {
    std::fprintf(stderr, "usage: %s [INI path, default %s]\n", argv[0], vorlanex::kDefaultIniPath);
    return 2;
  }
  vorlanex::host::PanelHost host({&Linkage, &ImportTable});
  host.setParameters(argc == 2 ? argv[1] : "");
  host.install();

  std::printf("INI file: %s\n", argc == 2 ? argv[1] : vorlanex::kDefaultIniPath);
  printSlotTable();
  printRegistered(host);
  printWaveFiles();
  host.disconnect();
  return 0;
}
