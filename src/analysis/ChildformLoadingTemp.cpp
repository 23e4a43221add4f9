#include "analysis/Childform.h"
void TChildform::BeginLoad(int, std::vector<std::string>, double, double)
{
}
void TChildform::LoadFile(const std::string&)
{
}
void TChildform::FinishDevice(int)
{
}
void TChildform::FinishLoad()
{
}
bool TChildform::HasCurrentAnalysis() const
{
    return false;
}
