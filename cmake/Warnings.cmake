# Strict warnings for our own targets; third-party headers come in as SYSTEM.
function(vantora_strict_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Werror -Wshadow -Wconversion -Wno-sign-conversion
    -Wold-style-cast -Wnon-virtual-dtor -Woverloaded-virtual
    # g++ 12 reports std::string appends as overlapping copies at -O3 (a known false
    # positive of that release).
    $<$<CXX_COMPILER_ID:GNU>:-Wno-restrict>)
endfunction()
