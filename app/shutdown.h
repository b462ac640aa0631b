// shutdown.h — the one way the program ends: save, say goodbye, exit.
#pragma once

[[noreturn]] void ShutDown();
