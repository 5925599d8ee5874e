// TEMPORARY: stands in for the library error writer until it lands.
#include "solver/linalg/linerr_stub.h"
#include "solver/linalg/fwrite.h"
namespace solvika {
void LINERR(std::int32_t K, std::string_view name, std::int32_t, std::int32_t, std::int32_t I3,
            std::int32_t LUNIT, std::int32_t IERR)
{
    static const Layout kHead("/ / / A A / 4X A I4 /");
    if (LUNIT < 1 || IERR == 0)
        return;
    fwrite(LUNIT, kHead, {" *** ERROR RETURN FROM  L I N / SPX  LIBRARY ROUTINE : ", name,
                          " WITH ERROR FLAG : ", IERR});
    (void)K;
    (void)I3;
}
}
