// Resource and control ids shared by framework_test.rc and the tests.
#pragma once

#define kTestBarTemplate 200
#define kTestDialogTemplate 220
#define kTestAccelerators 210

#define kBarForwarded 300  // the bar passes its command on to the frame
#define kBarOwn 301        // the bar handles this one itself
#define kBarCheck 302
#define kDialogEdit 1000
#define kAcceleratorCommand 400
