#include "AudioFormat.h"

int AudioFormat::bytesPerSample() const
{
    switch (sample) {
    case Sample::UInt8:
        return 1;
    case Sample::Int16:
        return 2;
    case Sample::Int32:
    case Sample::Float:
        return 4;
    }
    return 0;
}
