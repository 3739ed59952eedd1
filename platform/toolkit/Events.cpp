#include "platform/toolkit/Events.h"

#include "platform/rtl/Publish.h"

const TTypeInfo TypeInfoTNotifyEvent = MethodTypeInfo("TNotifyEvent");
const TTypeInfo TypeInfoTMouseEvent = MethodTypeInfo("TMouseEvent");
const TTypeInfo TypeInfoTMouseMoveEvent = MethodTypeInfo("TMouseMoveEvent");
const TTypeInfo TypeInfoTDrawCellEvent = MethodTypeInfo("TDrawCellEvent");
const TTypeInfo TypeInfoTSelectCellEvent = MethodTypeInfo("TSelectCellEvent");
const TTypeInfo TypeInfoTCloseQueryEvent = MethodTypeInfo("TCloseQueryEvent");
