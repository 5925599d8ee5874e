// CSectPlate: text export and import of a plate region.
#include "app/analysis/sectplate.h"

void CSectPlate::ASCIIExportGraph(CFile& file, CStringArray& markers, int* options, int nOptions,
                                  double* values, int nValues)
{
    CSectMeshArea::ASCIIExportGraph(file, markers, options, nOptions, values, nValues);
}

int CSectPlate::ASCIIReadGraph(ASCII_SETTING& set, int* options, int nOptions, double* values,
                               int nValues, CObList* list)
{
    return CSectMeshArea::ASCIIReadGraph(set, options, nOptions, values, nValues, list);
}
