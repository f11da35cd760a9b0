#pragma once

#include <functional>
#include <memory>

namespace mirelo {

class SoundInterface;

// Makes the edition's sound once the application exists (it needs the program's folder).
using SoundFactory = std::function<std::unique_ptr<SoundInterface>()>;

// Starts the program with the given edition's sound and runs it to the end.
int RunMirelo(int argc, char** argv, const SoundFactory& makeSound);

} // namespace mirelo
