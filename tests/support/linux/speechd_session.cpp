#include "support/linux/speechd_session.h"

#include <sys/stat.h>

#include <sstream>
#include <stdexcept>

namespace harumado::test_support {
namespace {

bool Exists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

// Each utterance is one record: voice, rate and volume separated by "|", then the text, ended
// by an ASCII record separator (0x1E) so that a text may hold line breaks.
std::string ModuleConfig(const std::string& spoken) {
  return "GenericExecuteSynth \"printf '%s|%s|%s|%s\\\\036' \\\"$VOICE\\\" \\\"$RATE\\\" "
         "\\\"$VOLUME\\\" \\'$DATA\\' >> " +
         spoken +
         "\"\n"
         "GenericLanguage \"ja\" \"ja\" \"utf-8\"\n"
         "GenericLanguage \"en\" \"en\" \"utf-8\"\n"
         "AddVoice \"ja\" \"FEMALE1\" \"haruka\"\n"
         "AddVoice \"ja\" \"MALE1\" \"ichiro\"\n"
         "AddVoice \"en\" \"MALE1\" \"david\"\n";
}

}  // namespace

SpeechdSession::SpeechdSession(milliseconds timeout) {
  socket_ = folder_.path() + "/run/speechd.sock";
  spoken_ = folder_.path() + "/spoken.txt";
  folder_.Write("run/.keep", "");
  folder_.Write("log/.keep", "");
  folder_.Write("home/.keep", "");
  folder_.Write("conf/speechd.conf",
                "AddModule \"recorder\" \"sd_generic\" \"recorder.conf\"\n"
                "DefaultModule recorder\n"
                "DefaultLanguage \"ja\"\n"
                "AudioOutputMethod \"alsa\"\n"
                "AudioALSADevice \"null\"\n");
  folder_.Write("conf/modules/recorder.conf", ModuleConfig(spoken_));
  ChildOptions options;
  options.log_path = folder_.path() + "/log/server.out";
  options.environment = {"HOME=" + folder_.path() + "/home",
                         "XDG_RUNTIME_DIR=" + folder_.path() + "/run", "LANG=C.UTF-8",
                         "LC_ALL=C.UTF-8"};
  server_ = std::make_unique<ChildProcess>(
      std::vector<std::string>{"speech-dispatcher", "--run-single", "--timeout", "0",
                               "--config-dir", folder_.path() + "/conf", "--communication-method",
                               "unix_socket", "--socket-path", socket_, "--pid-file",
                               folder_.path() + "/run/speechd.pid", "--log-dir",
                               folder_.path() + "/log", "--log-level", "3"},
      options);
  const std::string run = folder_.path() + "/run";
  if (!WaitForFolderChange(
          run, [&] { return Exists(socket_); }, timeout)) {
    server_.reset();
    throw std::runtime_error("speech-dispatcher did not start: " +
                             ReadFile(folder_.path() + "/log/speech-dispatcher.log"));
  }
}

SpeechdSession::~SpeechdSession() { server_.reset(); }

std::vector<Utterance> SpeechdSession::Utterances() const {
  std::vector<Utterance> list;
  std::istringstream records(ReadFile(spoken_));
  std::string record;
  while (std::getline(records, record, '\036')) {
    Utterance u;
    std::istringstream fields(record);
    std::getline(fields, u.voice, '|');
    std::getline(fields, u.rate, '|');
    std::getline(fields, u.volume, '|');
    std::getline(fields, u.text, '\0');
    list.push_back(u);
  }
  return list;
}

std::vector<Utterance> SpeechdSession::WaitForUtterances(std::size_t count,
                                                         milliseconds timeout) const {
  WaitForFolderChange(
      folder_.path(), [&] { return Utterances().size() >= count; }, timeout);
  return Utterances();
}

}  // namespace harumado::test_support
