// What the program takes from the static C++ runtime, kept small. Nothing here
// throws or catches; the library's throw helpers and its default terminate handler
// would still bring in every exception class, strings of the old ABI, the
// demangler and thread locks. Where the library can only refuse by throwing (memory
// gone, a string beyond its maximum), the program ends, as an uncaught throw did.
#include <cstdlib>
#include <new>
#include <string>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
} // namespace __gnu_cxx

namespace std {
void __throw_bad_alloc() { std::abort(); }
void __throw_bad_array_new_length() { std::abort(); }
void __throw_length_error(const char*) { std::abort(); }
void __throw_logic_error(const char*) { std::abort(); }
void __throw_out_of_range(const char*) { std::abort(); }
void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
void __throw_invalid_argument(const char*) { std::abort(); }
void __throw_bad_function_call() { std::abort(); }
} // namespace std
