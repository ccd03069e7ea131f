// The pieces of the C++ runtime that parvola.exe replaces to stay small.
//
// The program is built without exceptions and never throws, but the
// standard library's out-of-line code still names its throw helpers and
// operator new's std::bad_alloc. Each of those drags in the exception
// machinery, type information, a demangler and, through thread-local
// exception state, the threads library: about 100 KB of a program whose
// only answer to an impossible string length or exhausted memory is to stop.
// Defining them here, as objects linked before the library, keeps the
// library's versions out. A failure the library would have thrown for ends
// the process at once, exactly as an uncaught exception would.
#include <cstdlib>
#include <new>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

namespace std {
void __throw_bad_alloc() { std::abort(); }
void __throw_bad_array_new_length() { std::abort(); }
void __throw_length_error(const char*) { std::abort(); }
void __throw_logic_error(const char*) { std::abort(); }
void __throw_out_of_range(const char*) { std::abort(); }
void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
void __throw_invalid_argument(const char*) { std::abort(); }
void __throw_bad_function_call() { std::abort(); }
}  // namespace std

void* operator new(std::size_t size) {
  if (void* memory = std::malloc(size != 0 ? size : 1)) return memory;
  std::abort();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
