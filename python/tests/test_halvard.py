"""The knapsack system through the orvane module."""
import unittest

import orvane


class MochilaTest(unittest.TestCase):
    def test_key_events_and_round_trip(self):
        mhm = orvane.CreaObjeto("Halvard.ORVCriptoMHM")
        mhm.LongitudSucesion = 4
        for i, valor in enumerate((2, 3, 7, 15), 1):
            mhm.setSucesionPrivada(i, valor)
        mhm.Modulo, mhm.Multiplicador = 28, 6
        mensajes = []
        mhm.eventos.ConstruyeClave.conecta(lambda ok, mensaje: mensajes.append((ok, mensaje)))
        mhm.ConstruyeClave()
        mhm.Multiplicador = 3
        mhm.ConstruyeClave()
        self.assertEqual(mensajes, [(False, "El multiplicador debe ser primo con el módulo"),
                                    (True, "Clave correcta")])
        self.assertEqual([mhm.SucesionPublica(i) for i in range(1, 5)], [6, 9, 21, 17])

        claro = orvane.Kestrin.ORVTexto()
        claro.Texto = "¿Mañana?"
        mhm.TextoOriginal = claro
        self.assertIsNot(mhm.TextoOriginal, claro)  # the object keeps its own text
        progreso = []
        mhm.eventos.Progreso.conecta(progreso.append)
        mhm.Cifra()
        self.assertEqual(progreso, list(range(1, 17)))
        mhm.TextoOriginal = orvane.Kestrin.ORVTexto()
        mhm.Descifra()
        self.assertEqual(mhm.TextoOriginal.Texto, "¿Mañana?")
        with self.assertRaises(IndexError):
            mhm.TextoCifrado(17)


class RSATest(unittest.TestCase):
    def test_key_and_blocks(self):
        rsa = orvane.CreaObjeto("Halvard.ORVCriptoRSA")
        rsa.setClaveFactor(1, "257")
        rsa.setClaveFactor(2, "263")
        rsa.Exponente = "5"
        mensajes = []
        rsa.eventos.ConstruyeClave.conecta(lambda ok, mensaje: mensajes.append((ok, mensaje)))
        rsa.ConstruyeClave()
        self.assertEqual(mensajes, [(True, "Clave OK")])
        self.assertEqual((rsa.Clave, rsa.ClavePrivada, rsa.NumBits), ("67591", "26829", 17))
        claro = orvane.Kestrin.ORVTexto()
        claro.Texto = "Año"
        rsa.TextoOriginal = claro
        self.assertIs(rsa.TextoOriginal, claro)
        rsa.Cifra()
        self.assertEqual(rsa.NumBloques, 3)
        self.assertTrue(all(rsa.TextoCifrado(i).isdigit() for i in range(1, 4)))
        rsa.Descifra()
        self.assertEqual((rsa.TextoOriginal.Texto, rsa.TextoOriginal.Key), ("Año", orvane.CSKNone))
        with self.assertRaises(IndexError):
            rsa.ClaveFactor(3)


class GeneraClaveRSATest(unittest.TestCase):
    def test_generated_key_builds_and_works(self):
        h = orvane.Halvard
        clave = h.GeneraClaveRSA(256)
        self.assertEqual(((int(clave.p) * int(clave.q)).bit_length(), clave.bits), (256, 0))
        self.assertEqual(h.CompruebaClaveRSA(clave), (True, "Clave OK"))
        self.assertEqual((int(clave.n), clave.bits), (int(clave.p) * int(clave.q), 256))
        rsa = orvane.CreaObjeto("Halvard.ORVCriptoRSA")
        rsa.setClaveFactor(1, clave.p)
        rsa.setClaveFactor(2, clave.q)
        rsa.Exponente, rsa.TamBloque = clave.e, clave.bloque
        rsa.ConstruyeClave()
        self.assertEqual(rsa.Clave, clave.n)

    def test_given_primes_and_refusals(self):
        h = orvane.Halvard
        clave = h.CompletaClaveRSA("917519", "1000000007")
        self.assertEqual((clave.e, clave.bloque), ("65539", 2))
        clave.bloque = 3
        self.assertEqual(h.CompruebaClaveRSA(clave),
                         (False, "Cada factor primo debe ser mayor que 255255255."))
        with self.assertRaises(orvane.ErrorORV):
            h.GeneraClaveRSA(h.kMinBitsClaveRSA - 1)
        with self.assertRaises(orvane.ErrorORV):
            h.CompletaClaveRSA("257", "257")


class ClaveRSATest(unittest.TestCase):
    def test_equal_factors_and_small_exponents_are_refused(self):
        for p, q, e, mensaje in (("257", "257", "5", "Los dos factores primos deben ser distintos."),
                                 ("257", "263", "1", "El exponente debe ser mayor que 1."),
                                 ("257", "263", "-5", "El exponente debe ser mayor que 1.")):
            with self.subTest(p=p, q=q, e=e):
                rsa = orvane.Halvard.ORVCriptoRSA()
                rsa.setClaveFactor(1, p)
                rsa.setClaveFactor(2, q)
                rsa.Exponente = e
                mensajes = []
                rsa.eventos.ConstruyeClave.conecta(lambda ok, m: mensajes.append((ok, m)))
                rsa.ConstruyeClave()
                self.assertEqual(mensajes, [(False, mensaje)])
                self.assertEqual(rsa.Clave, "")


class MemoriaTest(unittest.TestCase):
    def test_sizes_that_cannot_be_held_are_error_7(self):
        mhm = orvane.Halvard.ORVCriptoMHM()
        mhm.LongitudSucesion = 65536
        mhm.Modulo, mhm.Multiplicador = 7, 3
        mhm.ClavePrivadaOK = True
        mhm.NumBloques = 2 ** 24
        rsa = orvane.Halvard.ORVCriptoRSA()
        for nombre, trabajo in (("mochila Descifra", mhm.Descifra),
                                ("RSA NumBloques", lambda: setattr(rsa, "NumBloques", 2 ** 31 - 1))):
            with self.subTest(nombre), self.assertRaises(orvane.ErrorORV) as error:
                trabajo()
            self.assertEqual(error.exception.numero, 7)
            self.assertEqual(str(error.exception), "Memoria insuficiente")


if __name__ == "__main__":
    unittest.main()
