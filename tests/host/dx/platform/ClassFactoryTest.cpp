// The module's factory table: DllGetClassObject finds a class, the factory
// creates it (aggregated or not), and DllCanUnloadNow sees live objects and locks.
#include "PassThroughFilter.h"
#include "host/dx/platform/CClassFactory.h"
#include "host/dx/platform/CMemAllocator.h"

#include <gtest/gtest.h>

const CLSID CLSID_TestAllocator = {
    0x5A1E0005, 0x0000, 0x4000, {0x80, 0x00, 0x51, 0x55, 0x45, 0x56, 0x52, 0x05}};

namespace {

int init_calls = 0;

void count_init(BOOL loading, const CLSID*) {
    init_calls += loading ? 1 : 0;
}

} // namespace

dshow::CFactoryTemplate g_Templates[] = {
    {WIDE_TEXT("Test - Pass Through"), &CLSID_PassThroughFilter, PassThroughFilter::CreateInstance,
     count_init, &pass_through_setup},
    {WIDE_TEXT("Test - Allocator"), &CLSID_TestAllocator, dshow::CMemAllocator::CreateInstance,
     nullptr, nullptr},
};
int g_cTemplates = sizeof(g_Templates) / sizeof(g_Templates[0]);

namespace {

// An object that aggregates a pass-through filter: the filter's interfaces
// are its interfaces, and the filter's references are its references.
class Outer final : public IUnknown {
public:
    explicit Outer(IClassFactory* factory) {
        hr = factory->CreateInstance(this, IID_IUnknown, reinterpret_cast<void**>(&inner));
    }
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (IsEqualIID(riid, IID_IUnknown)) {
            *ppv = this;
            AddRef();
            return S_OK;
        }
        return inner->QueryInterface(riid, ppv);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = --references;
        if (left == 0) {
            inner->Release();
            delete this;
        }
        return left;
    }
    HRESULT hr = E_FAIL;
    IUnknown* inner = nullptr;
    ULONG references = 1;
};

class ClassFactoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        baseline = dshow::CBaseObject::ObjectsActive();
        ASSERT_EQ(DllGetClassObject(CLSID_PassThroughFilter, IID_IClassFactory,
                                    reinterpret_cast<void**>(&factory)),
                  S_OK);
    }
    void TearDown() override {
        factory->Release();
        EXPECT_EQ(dshow::CBaseObject::ObjectsActive(), baseline);
    }
    LONG baseline = 0;
    IClassFactory* factory = nullptr;
};

TEST_F(ClassFactoryTest, class_objects_are_found_by_class_id) {
    IClassFactory* other = nullptr;
    const CLSID unknown_class = {0x5A1E00FF, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
    EXPECT_EQ(DllGetClassObject(unknown_class, IID_IClassFactory, reinterpret_cast<void**>(&other)),
              CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(
        DllGetClassObject(CLSID_TestAllocator, IID_IBaseFilter, reinterpret_cast<void**>(&other)),
        E_NOINTERFACE);
    ASSERT_EQ(
        DllGetClassObject(CLSID_TestAllocator, IID_IUnknown, reinterpret_cast<void**>(&other)),
        S_OK);
    IMemAllocator* allocator = nullptr;
    EXPECT_EQ(
        other->CreateInstance(nullptr, IID_IMemAllocator, reinterpret_cast<void**>(&allocator)),
        S_OK);
    allocator->Release();
    other->Release();
    EXPECT_EQ(init_calls, 1); // once, before the first class object
}

TEST_F(ClassFactoryTest, creates_filters_with_the_interfaces_asked_for) {
    IBaseFilter* filter = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IBaseFilter, reinterpret_cast<void**>(&filter)),
              S_OK);
    CLSID clsid{};
    EXPECT_EQ(filter->GetClassID(&clsid), S_OK);
    EXPECT_TRUE(IsEqualCLSID(clsid, CLSID_PassThroughFilter));
    struct Case {
        const IID* iid;
        HRESULT expected;
    } const cases[] = {{&IID_IUnknown, S_OK},      {&IID_IMediaFilter, S_OK},
                       {&IID_IPersist, S_OK},      {&IID_IAMovieSetup, S_OK},
                       {&IID_IPin, E_NOINTERFACE}, {&IID_IMemAllocator, E_NOINTERFACE}};
    for (const Case& c : cases) {
        IUnknown* unknown = nullptr;
        EXPECT_EQ(filter->QueryInterface(*c.iid, reinterpret_cast<void**>(&unknown)), c.expected);
        if (unknown != nullptr) {
            unknown->Release();
        }
    }
    IPin* pin = nullptr;
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IPin, reinterpret_cast<void**>(&pin)),
              E_NOINTERFACE);
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE);
    filter->Release();
}

TEST_F(ClassFactoryTest, an_aggregated_filter_answers_for_its_outer_object) {
    IBaseFilter* filter = nullptr;
    auto* outer = new Outer(factory);
    ASSERT_EQ(outer->hr, S_OK);
    // Only a request for IUnknown may aggregate.
    EXPECT_EQ(factory->CreateInstance(outer, IID_IBaseFilter, reinterpret_cast<void**>(&filter)),
              E_NOINTERFACE);
    EXPECT_EQ(filter, nullptr);
    ASSERT_EQ(outer->QueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(&filter)), S_OK);
    EXPECT_EQ(outer->references, 2u); // the filter's reference is the outer's
    IUnknown* identity = nullptr;
    ASSERT_EQ(filter->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
    EXPECT_EQ(identity, static_cast<IUnknown*>(outer));
    identity->Release();
    // A pin's references are the filter's, hence the outer object's.
    IEnumPins* pins = nullptr;
    ASSERT_EQ(filter->EnumPins(&pins), S_OK);
    IPin* pin = nullptr;
    ASSERT_EQ(pins->Next(1, &pin, nullptr), S_OK);
    EXPECT_EQ(outer->references, 4u);
    pin->Release();
    pins->Release();
    filter->Release();
    EXPECT_EQ(outer->references, 1u);
    outer->Release();
}

TEST_F(ClassFactoryTest, the_module_unloads_only_without_objects_or_locks) {
    factory->Release();
    factory = nullptr;
    EXPECT_EQ(DllCanUnloadNow(), S_OK);
    ASSERT_EQ(DllGetClassObject(CLSID_PassThroughFilter, IID_IClassFactory,
                                reinterpret_cast<void**>(&factory)),
              S_OK);
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE); // the factory itself is alive
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    factory->Release();
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE); // no object, but still locked once
    ASSERT_EQ(DllGetClassObject(CLSID_PassThroughFilter, IID_IClassFactory,
                                reinterpret_cast<void**>(&factory)),
              S_OK);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
}

} // namespace
