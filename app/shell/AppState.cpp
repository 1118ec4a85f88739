#include "shell/AppState.h"

namespace raylen {

AppState& appState()
{
    static AppState state;
    return state;
}

} // namespace raylen
